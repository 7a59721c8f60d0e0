// Mailing lists of names: one name a line, read as a stream so that a list of
// any size, or a single line of any length, is judged in bounded memory.
//
// Line rules:
// - Lines end at '\n'; a '\r' just before a '\n' (or just before the end of
//   the input) belongs to the line ending. A '\r' anywhere else is part of
//   the line (and refuses it).
// - A UTF-8 byte-order mark (EF BB BF) at the very start of the input is
//   ignored.
// - Empty lines are skipped; a line of blanks is a name.
// - Every other line gives one entry: the name when checkName accepts it,
//   otherwise the same NameProblem checkName reports for the whole line
//   (positions counted from the start of the line).
#pragma once

#include <cstddef>
#include <istream>
#include <optional>
#include <string>
#include <vector>

#include "seeding/name.h"

namespace greetcard {

// One non-empty line of a name list.
struct NameListEntry {
  std::size_t line = 0;                // line number in the list, from 1 (empty lines count)
  std::string name;                    // the accepted name (empty when refused)
  std::optional<NameProblem> problem;  // why the line is refused, when it is
};

// Reads entries one at a time. Invariants, whatever the input:
// - entries come in input order with strictly increasing line numbers;
// - an entry with no problem holds a name that checkName accepts, and the
//   entry equals what checkName says of that line's bytes;
// - memory held does not grow with the length of a line or of the list;
// - the work is linear in the size of the input.
class NameListReader {
 public:
  // Reads from `in`, which must outlive the reader.
  explicit NameListReader(std::istream& in);

  // The next non-empty line, or nullopt at the end of the input (also after
  // a read error: see readFailed()).
  std::optional<NameListEntry> next();

  // Whether the input stopped with a read error rather than at its end.
  bool readFailed() const { return failed_; }

 private:
  friend std::size_t countNameLines(std::istream& in);

  // Marker of the end of the input from nextByte().
  static constexpr int kEnd = -1;

  // Reads more of the stream after the bytes not yet taken; false at the end.
  bool refill();
  // The next byte (0..255), or kEnd.
  int nextByte();
  // Skips a byte-order mark at the start of the input.
  void skipByteOrderMark();
  // Feeds the content bytes of the next line to `take` (line ending
  // removed); returns false when the input has no more lines.
  template <typename Take>
  bool readLine(Take&& take, bool& empty);

  std::istream& in_;
  std::vector<char> chunk_;
  std::size_t chunkPos_ = 0;
  std::size_t chunkEnd_ = 0;
  bool ended_ = false;
  bool failed_ = false;
  bool startChecked_ = false;  // whether the byte-order mark has been looked for
  std::size_t line_ = 0;       // number of the last line started
};

// Number of entries NameListReader would give for the rest of `in` (the
// non-empty lines), counted without judging the names; used for a progress
// total.
std::size_t countNameLines(std::istream& in);

}  // namespace greetcard
