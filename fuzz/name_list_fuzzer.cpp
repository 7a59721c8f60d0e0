// Fuzzes the name-list reader with arbitrary bytes, delivered through a stream
// that hands them over in small pieces, so that lines, line endings and the
// byte-order mark fall across every possible refill boundary.
//
// The first input byte chooses the delivery: bits 0..3 the piece size (0: all
// bytes at once), bit 4 whether the stream ends with a read error instead of
// a clean end. The rest is the list.
//
// Each run compares the reader with a plain model that holds the whole input:
// drop a leading byte-order mark, cut at '\n', drop one '\r' at the end of a
// line, skip empty lines, and judge each line with checkName. Entries must
// match the model one for one (line number, name, and every field of the
// problem), countNameLines must give their number, and readFailed() must tell
// a read error from a clean end.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <istream>
#include <optional>
#include <stdexcept>
#include <streambuf>
#include <string>
#include <string_view>
#include <vector>

#include "seeding/name.h"
#include "seeding/name_list.h"

namespace {

constexpr std::uint8_t kPieceSizeMask = 0x0F;
constexpr std::uint8_t kReadErrorBit = 0x10;
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

void require(bool condition) {
  if (!condition) std::abort();
}

// A stream buffer that shows `pieceSize` bytes at a time (all at once for 0)
// and, when asked, fails with an exception after the last byte; the istream
// turns that into badbit, as a failing disk or pipe would.
class PieceBuffer : public std::streambuf {
 public:
  PieceBuffer(std::string_view data, std::size_t pieceSize, bool failAtEnd)
      : data_(data), pieceSize_(pieceSize == 0 ? data.size() : pieceSize), failAtEnd_(failAtEnd) {}

 protected:
  int_type underflow() override {
    if (gptr() != nullptr && gptr() < egptr()) return traits_type::to_int_type(*gptr());
    if (offset_ == data_.size()) {
      if (failAtEnd_) throw std::runtime_error("read error");
      return traits_type::eof();
    }
    const std::size_t n = std::min(pieceSize_, data_.size() - offset_);
    char* begin = const_cast<char*>(data_.data()) + offset_;
    setg(begin, begin, begin + n);
    offset_ += n;
    return traits_type::to_int_type(*gptr());
  }

 private:
  std::string_view data_;
  std::size_t pieceSize_;
  bool failAtEnd_;
  std::size_t offset_ = 0;
};

struct Expected {
  std::size_t line;
  std::string_view text;
};

std::vector<Expected> modelEntries(std::string_view list) {
  if (list.substr(0, kByteOrderMark.size()) == kByteOrderMark) list.remove_prefix(kByteOrderMark.size());
  std::vector<Expected> entries;
  std::size_t lineNumber = 0;
  while (!list.empty()) {
    ++lineNumber;
    const std::size_t end = list.find('\n');
    std::string_view line = list.substr(0, end);
    list.remove_prefix(end == std::string_view::npos ? list.size() : end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (!line.empty()) entries.push_back({lineNumber, line});
  }
  return entries;
}

bool sameProblem(const greetcard::NameProblem& a, const greetcard::NameProblem& b) {
  return a.kind == b.kind && a.position == b.position && a.character == b.character && a.length == b.length;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::size_t pieceSize = data[0] & kPieceSizeMask;
  const bool readError = (data[0] & kReadErrorBit) != 0;
  const std::string_view list(reinterpret_cast<const char*>(data) + 1, size - 1);
  const std::vector<Expected> expected = modelEntries(list);

  PieceBuffer buffer(list, pieceSize, readError);
  std::istream in(&buffer);
  greetcard::NameListReader reader(in);
  std::size_t k = 0;
  while (const auto entry = reader.next()) {
    require(k < expected.size());
    require(entry->line == expected[k].line);
    const auto verdict = greetcard::checkName(expected[k].text);
    require(entry->problem.has_value() == verdict.has_value());
    if (verdict) {
      require(sameProblem(*entry->problem, *verdict));
      require(entry->name.empty());
    } else {
      require(entry->name == expected[k].text);
    }
    ++k;
  }
  require(k == expected.size());
  require(reader.readFailed() == readError);
  require(!reader.next().has_value());

  PieceBuffer again(list, pieceSize, false);
  std::istream countIn(&again);
  require(greetcard::countNameLines(countIn) == expected.size());
  return 0;
}
