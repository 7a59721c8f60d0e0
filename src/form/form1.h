// `Form1`, the program's window: the visible canvas `Picture1`, the hidden
// copy `Picture2`, the buttons "repeat", "save on C:\wimgx" and "exit", the
// window's own surface (the asterisk and the progress tick), start-up and the
// three commands around the paint cycle.
#pragma once

#include <QElapsedTimer>
#include <QWidget>
#include <filesystem>
#include <functional>

#include "form/cycle.h"
#include "form/snapshot.h"
#include "platform/canvas.h"
#include "platform/qt_services.h"

class QPushButton;

namespace greetcard {

class Form1 : public QWidget {
  Q_OBJECT

 public:
  // Shows a message to the person (a failed save); by default a message box.
  using MessageFunction = std::function<void(const QString& text)>;

  // Snapshots go to `snapshotFolder`.
  explicit Form1(std::filesystem::path snapshotFolder, QWidget* parent = nullptr);
  ~Form1() override;

  // Shows the window maximised and runs the start-up once the event loop
  // turns, so the window is on screen before the prompt opens.
  void start();

  // Replaces the input dialog of the name prompt.
  void setPrompt(QtServices::Prompt prompt) { services_.setPrompt(std::move(prompt)); }
  // Replaces the message box.
  void setMessageFunction(MessageFunction show) { showMessage_ = std::move(show); }

  const PaintCycle& cycle() const { return cycle_; }
  // `Picture2` — the copy that the last save wrote; never shown.
  const Canvas& snapshotCopy() const { return picture2_; }
  // The window's own drawing surface (what paintEvent shows).
  const Canvas& surface() const { return surface_; }
  const std::filesystem::path& snapshotFolder() const { return snapshotFolder_; }
  // Whether "exit" or closing the window has ended the program.
  bool ended() const { return services_.ended(); }

 signals:
  // A paint cycle (start-up or "repeat") has returned: finished, or stopped
  // because the program is ending or a newer cycle replaced its picture.
  void cycleEnded();
  // The program is ending ("exit" or the window closed).
  void finished();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // `Form_Load` — the snapshot folder, then the first paint cycle.
  void Form_Load();
  // `Command2_Click` — "exit".
  void Command2_Click();
  // `Command3_Click` — "save on C:\wimgx".
  void Command3_Click();
  // `Command5_Click` — "repeat".
  void Command5_Click();
  // `saveimage` — copies the canvas into `Picture2` and writes the snapshot.
  void saveimage();

  // One paint cycle; shows the result.
  void runCycle();
  // Ends the program once, whatever asked for it.
  void endProgram();
  // Before the events of a row: lets the canvas on screen catch up, at most
  // one frame per frame interval.
  void showProgress();
  void paintPicture1();
  QPushButton* makeButton(const char* name, const char* caption, const QRect& geometry);

  std::filesystem::path snapshotFolder_;
  Canvas surface_{kSurfaceWidth, kSurfaceHeight};
  Canvas picture2_{kWidth, kHeight};  // `Picture2` — hidden canvas that holds the saved copy
  QtServices services_;
  PaintCycle cycle_;
  MessageFunction showMessage_;
  QElapsedTimer sinceFrame_;

  QWidget* picture1_ = nullptr;      // `Picture1` — shows the canvas of the cycle
  QPushButton* command5_ = nullptr;  // `Command5` — "repeat"
  QPushButton* command3_ = nullptr;  // `Command3` — "save on C:\wimgx"
  QPushButton* command2_ = nullptr;  // `Command2` — "exit"
};

}  // namespace greetcard
