#include "form/cycle.h"

#include "output/greeting.h"
#include "seeding/name.h"

namespace greetcard {

PaintCycle::PaintCycle(Services& services) : services_(services) {}

bool PaintCycle::run() {
  ++cycles_;
  askname();
  makepalette();
  newimage();
  return !ending_;
}

void PaintCycle::askname() {
  for (;;) {
    s_.t = services_.promptName(s_.t1, s_.t2);
    if (!checkName(s_.t)) break;
  }
  s_.dolz = static_cast<std::int32_t>(s_.t.size());
  s_.seed = seedOf(s_.t);
  rnd_.reset(kResetArgument);
  rnd_.randomize(s_.seed);
}

void PaintCycle::makepalette() {
  s_.palette = greetcard::makepalette(rnd_);
  // The palette leaves its last row's components in the channel fields.
  const PixelFields start = startFields(s_.palette);
  s_.px.re = start.re;
  s_.px.gr = start.gr;
  s_.px.bl = start.bl;
}

void PaintCycle::newimage() {
  setparams();
  if (!drawimage()) return;
  greeting();
}

void PaintCycle::setparams() {
  s_.imeslike = snapshotName(services_.now());
  s_.params = drawParams(rnd_);
  s_.px.fi1 = 0;
}

Recipe PaintCycle::recipe() const { return Recipe{s_.t, s_.seed, s_.palette, s_.params}; }

bool PaintCycle::drawimage() {
  if (!services_.progressive()) {
    picture1_ = renderArt(recipe(), services_.threads());
    s_.i = s_.sir + 1;
    s_.j = s_.vis + 1;
    return true;
  }
  struct Running {
    int& count;
    explicit Running(int& c) : count(c) { ++count; }
    ~Running() { --count; }
  } running(scansRunning_);
  const unsigned mine = cycles_;
  picture1_.fill(kBlack);
  // A cycle run from the events below replaces the parameters and palette this
  // scan reads; the scan then stops before it paints another row.
  Scan scan(s_.params, s_.palette, s_.px);
  const int lastRow = s_.vis;
  for (int row = 0; row <= lastRow; ++row) {
    if (!services_.processEvents()) {
      ending_ = true;
      return false;
    }
    if (ending_ || cycles_ != mine) return false;
    s_.j = row;
    scan.paintRow(picture1_, row);
    s_.i = s_.sir + 1;
  }
  s_.j = lastRow + 1;
  return true;
}

void PaintCycle::greeting() {
  const std::string line = greetingLine(s_.t);
  services_.printText(picture1_, kCaptionX, kCaptionY, kBlack, line);
  services_.printText(picture1_, kCaptionX + kCaptionShadowOffset, kCaptionY + kCaptionShadowOffset, kWhite,
                      line);
  services_.printOnWindow(kAsteriskX, kAsteriskY, kAsterisk);
}

}  // namespace greetcard
