// Services without a window: answers to the prompt come from a list, the clock
// is the system's or a fixed moment, events do not exist, and text is printed
// by a function given to it (none: text is left out).
#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>

#include "platform/services.h"

namespace greetcard {

class HeadlessServices : public Services {
 public:
  using TextPrinter = std::function<void(Canvas&, int, int, std::uint32_t, std::string_view)>;

  HeadlessServices() = default;

  // Queues an answer for the prompt; once the queue is empty the prompt is
  // answered as if cancelled (the empty text).
  void answer(std::string text) { answers_.push_back(std::move(text)); }
  // Fixes the clock at one moment.
  void setClock(const LocalTime& t) { fixedTime_ = t; }
  void setThreads(unsigned n) { threads_ = n; }
  void setTextPrinter(TextPrinter printer) { printer_ = std::move(printer); }

  // How many times the prompt has been opened.
  int promptsOpened() const { return promptsOpened_; }

  std::string promptName(std::string_view line1, std::string_view line2) override;
  LocalTime now() override;
  bool progressive() const override { return false; }
  bool processEvents() override { return true; }
  unsigned threads() const override { return threads_; }
  void printText(Canvas& canvas, int x, int y, std::uint32_t colour, std::string_view text) override;
  void printOnWindow(int, int, std::string_view) override {}

 private:
  std::deque<std::string> answers_;
  std::optional<LocalTime> fixedTime_;
  unsigned threads_ = 1;
  TextPrinter printer_;
  int promptsOpened_ = 0;
};

}  // namespace greetcard
