#include "platform/headless.h"

#include <ctime>

namespace greetcard {

LocalTime localNow() {
  constexpr int kYearBase = 1900;
  const std::time_t now = std::time(nullptr);
  std::tm parts{};
#ifdef _WIN32
  localtime_s(&parts, &now);
#else
  localtime_r(&now, &parts);
#endif
  return LocalTime{parts.tm_year + kYearBase, parts.tm_mon + 1, parts.tm_mday,
                   parts.tm_hour,             parts.tm_min,     parts.tm_sec};
}

std::string HeadlessServices::promptName(std::string_view, std::string_view) {
  ++promptsOpened_;
  if (answers_.empty()) return {};
  std::string text = std::move(answers_.front());
  answers_.pop_front();
  return text;
}

LocalTime HeadlessServices::now() { return fixedTime_ ? *fixedTime_ : localNow(); }

void HeadlessServices::printText(Canvas& canvas, int x, int y, std::uint32_t colour, std::string_view text) {
  if (printer_) printer_(canvas, x, y, colour, text);
}

}  // namespace greetcard
