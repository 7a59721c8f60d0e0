#include "seeding/name_list.h"

#include <algorithm>
#include <cstring>
#include <string_view>

namespace greetcard {
namespace {

// Bytes read from the stream at a time.
constexpr std::size_t kChunkBytes = 64 * 1024;
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr char kLineFeed = '\n';
constexpr char kCarriageReturn = '\r';
// Characters judged by one call of checkName: no more than a name may have,
// so that checkName reports the first bad character rather than the length.
constexpr std::size_t kPieceCharacters = kMaxNameLength;
// Longest UTF-8 sequence; a lead byte followed by more continuation bytes
// than this allows is certainly malformed.
constexpr std::size_t kMaxSequenceBytes = 4;

bool isContinuation(unsigned char b) { return (b & 0xC0) == 0x80; }

// Judges one line as it streams past, by handing checkName pieces of at most
// 100 characters cut just before a lead byte. A cut there changes nothing that
// checkName sees: a sequence before the cut is complete or, in the whole line
// too, malformed at its start. So the first malformed sequence, the first bad
// character and the length come out as checkName gives them for the whole
// line, while at most a name and one piece are held.
class LineJudge {
 public:
  void take(unsigned char b) {
    if (malformed_) return;
    if (!isContinuation(b)) {
      if (pieceCharacters_ == kPieceCharacters) judgePiece();
      ++pieceCharacters_;
      sequenceBytes_ = 1;
    } else {
      // A continuation byte opening a piece can only be at the line's start,
      // where checkName refuses it; it still counts as a character start.
      if (piece_.empty()) ++pieceCharacters_;
      ++sequenceBytes_;
    }
    piece_.push_back(static_cast<char>(b));
    // Too many continuation bytes: checkName finds the fault in this piece,
    // so a run of them never makes the piece grow without bound.
    if (sequenceBytes_ > kMaxSequenceBytes) judgePiece();
  }

  NameListEntry finish(std::size_t line) {
    judgePiece();
    NameListEntry entry;
    entry.line = line;
    if (malformed_) {
      entry.problem = malformed_;
    } else if (characters_ > kMaxNameLength) {
      NameProblem tooLong{NameProblem::Kind::TooLong};
      tooLong.length = characters_;
      entry.problem = tooLong;
    } else if (firstBad_) {
      entry.problem = firstBad_;
    } else {
      entry.name = std::move(name_);
    }
    return entry;
  }

 private:
  void judgePiece() {
    if (piece_.empty() || malformed_) return;
    std::optional<NameProblem> problem = checkName(piece_);
    if (problem && problem->kind == NameProblem::Kind::InvalidEncoding) {
      problem->position += bytes_;
      malformed_ = problem;
      name_.clear();
      piece_.clear();
      return;
    }
    if (problem && !firstBad_) {
      problem->position += characters_;
      firstBad_ = problem;
    }
    characters_ += pieceCharacters_;
    bytes_ += piece_.size();
    if (characters_ <= kMaxNameLength) {
      name_ += piece_;
    } else {
      name_.clear();
      name_.shrink_to_fit();
    }
    piece_.clear();
    pieceCharacters_ = 0;
  }

  std::string name_;           // the line so far, while it may still be a name
  std::string piece_;          // bytes not yet judged
  std::size_t pieceCharacters_ = 0;
  std::size_t sequenceBytes_ = 0;  // bytes of the character being read
  std::size_t characters_ = 0;     // characters judged so far
  std::size_t bytes_ = 0;          // bytes judged so far
  std::optional<NameProblem> firstBad_;
  std::optional<NameProblem> malformed_;
};

}  // namespace

NameListReader::NameListReader(std::istream& in) : in_(in), chunk_(kChunkBytes) {}

bool NameListReader::refill() {
  if (ended_) return false;
  if (chunkPos_ > 0) {
    std::copy(chunk_.begin() + static_cast<std::ptrdiff_t>(chunkPos_),
              chunk_.begin() + static_cast<std::ptrdiff_t>(chunkEnd_), chunk_.begin());
    chunkEnd_ -= chunkPos_;
    chunkPos_ = 0;
  }
  if (chunkEnd_ == chunk_.size()) return true;
  // readsome takes what is already buffered without waiting for a full
  // chunk, so names from a pipe are handed on as they arrive; peek waits for
  // more, or tells the end.
  const std::streamsize got =
      in_.readsome(chunk_.data() + chunkEnd_, static_cast<std::streamsize>(chunk_.size() - chunkEnd_));
  if (got > 0) {
    chunkEnd_ += static_cast<std::size_t>(got);
    return true;
  }
  if (!in_.bad() && in_.peek() != std::istream::traits_type::eof()) {
    // An unbuffered stream shows nothing to readsome: take the byte itself.
    chunk_[chunkEnd_++] = static_cast<char>(in_.get());
    return true;
  }
  failed_ = in_.bad();
  ended_ = true;
  return false;
}

int NameListReader::nextByte() {
  if (chunkPos_ == chunkEnd_ && !refill()) return kEnd;
  return static_cast<unsigned char>(chunk_[chunkPos_++]);
}

void NameListReader::skipByteOrderMark() {
  if (startChecked_) return;
  startChecked_ = true;
  while (chunkEnd_ - chunkPos_ < kByteOrderMark.size() && refill()) {
  }
  const std::string_view start(chunk_.data() + chunkPos_,
                               std::min(chunkEnd_ - chunkPos_, kByteOrderMark.size()));
  if (start == kByteOrderMark) chunkPos_ += kByteOrderMark.size();
}

template <typename Take>
bool NameListReader::readLine(Take&& take, bool& empty) {
  skipByteOrderMark();
  int b = nextByte();
  if (b == kEnd) return false;
  ++line_;
  empty = true;
  bool heldReturn = false;  // a '\r' that ends the line if a '\n' or the end follows
  for (; b != kEnd && b != kLineFeed; b = nextByte()) {
    if (heldReturn) {
      take(static_cast<unsigned char>(kCarriageReturn));
      empty = false;
      heldReturn = false;
    }
    if (b == kCarriageReturn) {
      heldReturn = true;
      continue;
    }
    take(static_cast<unsigned char>(b));
    empty = false;
  }
  return true;
}

std::optional<NameListEntry> NameListReader::next() {
  for (;;) {
    LineJudge judge;
    bool empty = true;
    if (!readLine([&judge](unsigned char b) { judge.take(b); }, empty)) return std::nullopt;
    if (!empty) return judge.finish(line_);
  }
}

std::size_t countNameLines(std::istream& in) {
  NameListReader reader(in);
  std::size_t count = 0;
  bool empty = true;
  while (reader.readLine([](unsigned char) {}, empty)) {
    if (!empty) ++count;
  }
  return count;
}

}  // namespace greetcard
