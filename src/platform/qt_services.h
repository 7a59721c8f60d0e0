// The services of the paint cycle in a Qt window: the name prompt as a modal
// input dialog, the local clock, event handling between the rows of a scan,
// the card's text on the canvas, and text on the window's own surface.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "platform/services.h"

class QWidget;

namespace greetcard {

// Where the name prompt's top left corner stands, in pixels from the top left
// corner of the screen (just below the canvas of a maximised window).
inline constexpr int kPromptLeft = 33;
inline constexpr int kPromptTop = 580;

class QtServices : public Services {
 public:
  // Answers the prompt in place of the dialog: given the two prompt lines,
  // returns the typed text, or the empty text for a cancel.
  using Prompt = std::function<std::string(std::string_view line1, std::string_view line2)>;

  // `window` parents the prompt and shows `surface`, its own drawing surface.
  QtServices(QWidget& window, Canvas& surface);

  // Replaces the input dialog (an empty function restores it).
  void setPrompt(Prompt prompt) { prompt_ = std::move(prompt); }
  // Runs before the events of each row are handled, e.g. to show the rows
  // painted so far.
  void setBeforeEvents(std::function<void()> hook) { beforeEvents_ = std::move(hook); }

  // The program is ending: every running scan stops at its next row.
  void end() { ended_ = true; }
  bool ended() const { return ended_; }

  std::string promptName(std::string_view line1, std::string_view line2) override;
  LocalTime now() override;
  bool progressive() const override { return true; }
  bool processEvents() override;
  void printText(Canvas& canvas, int x, int y, std::uint32_t colour, std::string_view text) override;
  // Prints with the card's font in the window's text colour, then asks the
  // window to show it.
  void printOnWindow(int x, int y, std::string_view text) override;

 private:
  std::string askWithDialog(std::string_view line1, std::string_view line2);

  QWidget& window_;
  Canvas& surface_;
  Prompt prompt_;
  std::function<void()> beforeEvents_;
  bool ended_ = false;
};

}  // namespace greetcard
