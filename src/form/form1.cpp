#include "form/form1.h"
#include "output/image_file.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QImage>
#include <QMessageBox>
#include <QPaintEvent>
#include <QPainter>
#include <QPushButton>
#include <QTimer>

namespace greetcard {
namespace {

// The window's title.
constexpr const char* kTitle = "Form1";

// Where the canvas stands on the window.
constexpr int kPicture1Left = 32;
constexpr int kPicture1Top = 24;

// The buttons: left, top, width, height in pixels.
const QRect kCommand5Geometry(656, 576, 73, 17);  // "repeat"
const QRect kCommand3Geometry(616, 600, 113, 17);  // "save on C:\wimgx"
const QRect kCommand2Geometry(696, 624, 33, 17);  // "exit"

// Pixel size of the buttons' captions, small enough for 17-pixel buttons.
constexpr int kButtonTextPixelSize = 11;

// Shortest time between two pictures of a scan in progress (about 60 per
// second); the rows in between are shown together.
constexpr qint64 kFrameIntervalMs = 16;

// A view of canvas pixels as a Qt image, without copying them.
QImage viewOf(const Canvas& canvas) {
  return QImage(reinterpret_cast<const uchar*>(canvas.data()), canvas.width(), canvas.height(),
                static_cast<qsizetype>(canvas.width()) * static_cast<qsizetype>(sizeof(std::uint32_t)),
                QImage::Format_RGB32);
}

}  // namespace

Form1::Form1(std::filesystem::path snapshotFolder, QWidget* parent)
    : QWidget(parent), snapshotFolder_(std::move(snapshotFolder)), services_(*this, surface_), cycle_(services_) {
  setWindowTitle(QString::fromLatin1(kTitle));
  setMinimumSize(kSurfaceWidth, kSurfaceHeight);
  resize(kSurfaceWidth, kSurfaceHeight);

  // Black background; the window's text (the asterisk) in white on it.
  QPalette colours = palette();
  colours.setColor(QPalette::Window, Qt::black);
  colours.setColor(QPalette::WindowText, Qt::white);
  setPalette(colours);
  setAutoFillBackground(true);

  picture1_ = new QWidget(this);
  picture1_->setObjectName(QStringLiteral("Picture1"));
  picture1_->setGeometry(kPicture1Left, kPicture1Top, kWidth, kHeight);
  picture1_->setAttribute(Qt::WA_OpaquePaintEvent);
  picture1_->setFocusPolicy(Qt::StrongFocus);
  picture1_->installEventFilter(this);

  command5_ = makeButton("Command5", "repeat", kCommand5Geometry);
  command3_ = makeButton("Command3", "save on C:\\wimgx", kCommand3Geometry);
  command2_ = makeButton("Command2", "exit", kCommand2Geometry);
  connect(command5_, &QPushButton::clicked, this, &Form1::Command5_Click);
  connect(command3_, &QPushButton::clicked, this, &Form1::Command3_Click);
  connect(command2_, &QPushButton::clicked, this, &Form1::Command2_Click);

  // Tab order: the canvas, "exit", "repeat", "save on C:\wimgx".
  setTabOrder(picture1_, command2_);
  setTabOrder(command2_, command5_);
  setTabOrder(command5_, command3_);
  picture1_->setFocus();

  services_.setBeforeEvents([this] { showProgress(); });
}

Form1::~Form1() = default;

QPushButton* Form1::makeButton(const char* name, const char* caption, const QRect& geometry) {
  auto* button = new QPushButton(QString::fromLatin1(caption), this);
  button->setObjectName(QString::fromLatin1(name));
  QFont font = button->font();
  font.setPixelSize(kButtonTextPixelSize);
  button->setFont(font);
  button->setGeometry(geometry);
  return button;
}

void Form1::start() {
  showMaximized();
  QTimer::singleShot(0, this, &Form1::Form_Load);
}

void Form1::Form_Load() {
  // A folder that exists already or cannot be made is no reason to stop:
  // every save tries again and says what went wrong.
  makeFolder(snapshotFolder_);
  runCycle();
}

void Form1::runCycle() {
  sinceFrame_.start();
  cycle_.run();
  if (!ended()) {
    picture1_->update();
    update();
  }
  emit cycleEnded();
}

void Form1::Command2_Click() {
  endProgram();
  close();
}

void Form1::Command3_Click() {
  if (ended()) return;
  saveimage();
}

void Form1::Command5_Click() {
  if (ended()) return;
  runCycle();
}

void Form1::saveimage() {
  const Form1State& state = cycle_.state();
  copyColumns(cycle_.picture(), picture2_, surface_, state.sir, state.vis);
  update();
  const std::string problem = writeSnapshot(picture2_, snapshotFolder_, state.imeslike);
  if (problem.empty()) return;
  const QString text = QString::fromStdString(problem);
  if (showMessage_) {
    showMessage_(text);
  } else {
    QMessageBox::warning(this, QString(), text);
  }
}

void Form1::endProgram() {
  // A scan in progress sees the end at its next row and stops there.
  if (services_.ended()) return;
  services_.end();
  emit finished();
}

void Form1::closeEvent(QCloseEvent* event) {
  event->accept();
  endProgram();
}

void Form1::showProgress() {
  if (sinceFrame_.isValid() && sinceFrame_.elapsed() < kFrameIntervalMs) return;
  sinceFrame_.start();
  picture1_->update();
}

void Form1::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  painter.drawImage(event->rect().topLeft(), viewOf(surface_), event->rect());
}

bool Form1::eventFilter(QObject* watched, QEvent* event) {
  if (watched == picture1_ && event->type() == QEvent::Paint) {
    paintPicture1();
    return true;
  }
  return QWidget::eventFilter(watched, event);
}

void Form1::paintPicture1() {
  QPainter painter(picture1_);
  painter.drawImage(0, 0, viewOf(cycle_.picture()));
}

}  // namespace greetcard
