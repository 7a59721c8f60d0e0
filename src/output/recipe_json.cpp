#include "output/recipe_json.h"

#include <array>
#include <charconv>
#include <cstdio>

namespace greetcard {
namespace {

std::string number(double v) {
  std::array<char, 64> buf{};
  const auto res = std::to_chars(buf.data(), buf.data() + buf.size(), v);
  return std::string(buf.data(), res.ptr);
}

std::string quoted(const std::string& s) {
  std::string out = "\"";
  for (const char ch : s) {
    const auto c = static_cast<unsigned char>(ch);
    if (ch == '"' || ch == '\\') {
      out += '\\';
      out += ch;
    } else if (c < 0x20) {
      char esc[8];
      std::snprintf(esc, sizeof esc, "\\u%04x", c);
      out += esc;
    } else {
      out += ch;
    }
  }
  return out + "\"";
}

template <typename T>
std::string list(const std::array<T, 3>& values, const std::string& indent) {
  std::string out = "[\n";
  for (std::size_t k = 0; k < values.size(); ++k) {
    out += indent + " " + number(static_cast<double>(values[k]));
    out += k + 1 < values.size() ? ",\n" : "\n";
  }
  return out + indent + "]";
}

}  // namespace

std::string recipeJson(const Recipe& recipe) {
  const Params& p = recipe.params;
  const PaletteWaves& w = recipe.palette.waves;
  std::string out = "{\n";
  const auto field = [&out](const char* key, const std::string& value, bool last = false) {
    out += std::string(" \"") + key + "\": " + value + (last ? "\n" : ",\n");
  };
  field("name", quoted(recipe.name));
  field("seed", number(recipe.seed));
  field("tip1", number(p.tip1));
  field("tip2", number(p.tip2));
  field("tip3", number(p.tip3));
  field("pozic0", number(p.pozic0));
  field("fi0", number(p.fi0));
  field("r0", number(p.r0));
  field("fak1", number(p.fak1));
  field("fak2", number(p.fak2));
  field("fak3", number(p.fak3));
  std::string palette = "{\n";
  palette += "  \"base\": " + number(w.base) + ",\n";
  palette += "  \"spread\": " + number(w.spread) + ",\n";
  palette += "  \"per\": " + list(w.per, "  ") + ",\n";
  palette += "  \"ph\": " + list(w.ph, "  ") + ",\n";
  palette += "  \"div\": " + list(w.div, "  ") + "\n }";
  field("palette", palette, true);
  return out + "}";
}

}  // namespace greetcard
