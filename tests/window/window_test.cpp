// The desktop window on the offscreen platform, with the name prompt answered
// by the test: start-up, the prompt and its refusals, the three commands when
// idle and while a card is being painted, and the snapshot files.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QInputDialog>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <deque>
#include <filesystem>
#include <map>

#include "form/cycle.h"
#include "form/form1.h"
#include "form/snapshot.h"
#include "output/caption.h"
#include "output/image_file.h"
#include "platform/headless.h"
#include "synth/art.h"

namespace greetcard {
namespace {

// Longest wait for a card to be painted (a debug build is slow).
constexpr int kCardTimeoutMs = 120000;

// The card that the headless cycle paints for a name: the art and the
// caption, as the command-line renderer makes it.
const Canvas& referenceCard(const std::string& name) {
  static std::map<std::string, Canvas> cards;
  auto found = cards.find(name);
  if (found == cards.end()) {
    HeadlessServices services;
    services.answer(name);
    services.setTextPrinter(printText);
    PaintCycle cycle(services);
    cycle.run();
    found = cards.emplace(name, cycle.picture()).first;
  }
  return found->second;
}

// The art of the first `rows` rows of a scan, without caption.
Canvas partialArt(const Recipe& recipe, int rows) {
  Canvas canvas(kWidth, kHeight);
  PixelFields fields = startFields(recipe.palette);
  Scan scan(recipe.params, recipe.palette, fields);
  for (int row = 0; row < rows; ++row) scan.paintRow(canvas, row);
  return canvas;
}

QImage imageOf(const Canvas& canvas) { return toImage(canvas); }

// A window in a fresh temporary folder, its prompt answered from a list (an
// exhausted list answers as a cancel) and its messages collected.
struct Harness {
  QTemporaryDir temp;
  std::filesystem::path folder;
  std::unique_ptr<Form1> form;
  std::deque<std::string> answers;
  int prompts = 0;
  QStringList messages;
  std::unique_ptr<QSignalSpy> cycles;

  explicit Harness(const std::filesystem::path& relativeFolder = "wimgx")
      : folder(std::filesystem::path(temp.path().toStdString()) / relativeFolder),
        form(std::make_unique<Form1>(folder)) {
    form->setPrompt([this](std::string_view, std::string_view) {
      ++prompts;
      if (answers.empty()) return std::string();
      std::string answer = answers.front();
      answers.pop_front();
      return answer;
    });
    form->setMessageFunction([this](const QString& text) { messages << text; });
    cycles = std::make_unique<QSignalSpy>(form.get(), &Form1::cycleEnded);
  }

  QPushButton* button(const char* name) const { return form->findChild<QPushButton*>(QString::fromLatin1(name)); }
  QWidget* picture1() const { return form->findChild<QWidget*>(QStringLiteral("Picture1")); }
  QStringList snapshotFiles() const {
    return QDir(QString::fromStdString(folder.string())).entryList(QDir::Files | QDir::NoDotAndDotDot);
  }
  QString snapshotFile() const {
    return QString::fromStdString(snapshotPath(folder, form->cycle().state().imeslike).string());
  }
};

// Starts the window and waits until its first cycle has returned.
#define START_AND_WAIT(h)                                                  \
  do {                                                                     \
    (h).form->start();                                                     \
    QTRY_COMPARE_WITH_TIMEOUT((h).cycles->count(), 1, kCardTimeoutMs);     \
  } while (false)

// Runs `action` once, from the event handling between two rows of a scan,
// as soon as at least `rows` rows of that scan are painted; records how many
// rows were painted at that moment.
class BetweenRows {
 public:
  BetweenRows(const Form1& form, int rows, std::function<void()> action) {
    timer_.setInterval(0);
    QObject::connect(&timer_, &QTimer::timeout, [this, &form, rows, action = std::move(action)] {
      const PaintCycle& cycle = form.cycle();
      // Before row r is painted, the row field still holds r - 1.
      if (!cycle.painting() || cycle.state().j < rows) return;
      timer_.stop();
      rowsPainted_ = cycle.state().j + 1;
      recipe_ = cycle.recipe();
      action();
    });
    timer_.start();
  }
  int rowsPainted() const { return rowsPainted_; }
  // The recipe of the picture that was being painted.
  const Recipe& recipe() const { return recipe_; }

 private:
  QTimer timer_;
  int rowsPainted_ = 0;
  Recipe recipe_;
};

// Waits for the next modal input dialog and hands it to `answer`.
void answerNextDialog(std::function<void(QInputDialog&)> answer) {
  auto* poll = new QTimer;
  poll->setInterval(1);
  QObject::connect(poll, &QTimer::timeout, [poll, answer = std::move(answer)] {
    auto* dialog = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
    if (dialog == nullptr || !dialog->isVisible()) return;
    poll->stop();
    poll->deleteLater();
    answer(*dialog);
  });
  poll->start();
}

}  // namespace

class WindowTest : public QObject {
  Q_OBJECT

 private slots:
  void layoutFocusAndTabOrder();
  void startupPaintsTheTypedNamesCard();
  void refusedAnswersReopenThePrompt_data();
  void refusedAnswersReopenThePrompt();
  void dialogPromptReopensEmptyAfterARefusal();
  void dialogPromptCancelPaintsTheEmptyNamesCard();
  void repeatWithTheSameNameGivesTheSameCanvas();
  void saveWritesTheCanvasToTheSnapshotFile();
  void saveIntoAFolderThatCannotBeMadeShowsAMessage();
  void saveDuringPaintingHoldsTheRowsPaintedSoFar();
  void repeatDuringPaintingLeavesOnlyTheNewCard();
  void exitAndCloseEndTheProgram_data();
  void exitAndCloseEndTheProgram();
};

void WindowTest::layoutFocusAndTabOrder() {
  Harness h;
  Form1& form = *h.form;
  QCOMPARE(form.windowTitle(), QStringLiteral("Form1"));
  QCOMPARE(form.minimumSize(), QSize(732, 641));
  QCOMPARE(form.palette().color(QPalette::Window), QColor(Qt::black));

  QWidget* picture1 = h.picture1();
  QVERIFY(picture1 != nullptr);
  QCOMPARE(picture1->geometry(), QRect(32, 24, 700, 525));
  struct Expected {
    const char* name;
    const char* caption;
    QRect geometry;
  };
  const Expected buttons[] = {
      {"Command5", "repeat", QRect(656, 576, 73, 17)},
      {"Command3", "save on C:\\wimgx", QRect(616, 600, 113, 17)},
      {"Command2", "exit", QRect(696, 624, 33, 17)},
  };
  for (const Expected& e : buttons) {
    QPushButton* button = h.button(e.name);
    QVERIFY2(button != nullptr, e.name);
    QCOMPARE(button->text(), QString::fromLatin1(e.caption));
    QCOMPARE(button->geometry(), e.geometry);
  }

  form.show();
  QVERIFY(QTest::qWaitForWindowActive(&form));
  QCOMPARE(QApplication::focusWidget(), picture1);
  // Tab runs through "exit", "repeat", "save on C:\wimgx" and back.
  const QWidget* order[] = {h.button("Command2"), h.button("Command5"), h.button("Command3"), picture1};
  for (const QWidget* next : order) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), next);
  }
}

void WindowTest::startupPaintsTheTypedNamesCard() {
  Harness h;
  h.answers = {"ana"};
  QVERIFY(!std::filesystem::exists(h.folder));
  START_AND_WAIT(h);
  Form1& form = *h.form;

  QVERIFY(form.isVisible());
  QVERIFY(form.windowState() & Qt::WindowMaximized);
  QVERIFY(std::filesystem::is_directory(h.folder));
  QCOMPARE(h.prompts, 1);
  QCOMPARE(form.cycle().state().t, std::string("ana"));
  QVERIFY(form.cycle().picture() == referenceCard("ana"));
  // What Picture1 shows is the canvas.
  QCOMPARE(h.picture1()->grab().toImage().convertToFormat(QImage::Format_RGB32), imageOf(referenceCard("ana")));
  // The window's own surface holds the asterisk at (1, 1) in white, and nothing else.
  Canvas asterisk(kSurfaceWidth, kSurfaceHeight);
  asterisk.fill(kBlack);
  printText(asterisk, 1, 1, kWhite, "*");
  QVERIFY(form.surface() == asterisk);
  QVERIFY(!(form.surface() == Canvas(kSurfaceWidth, kSurfaceHeight)));
}

void WindowTest::refusedAnswersReopenThePrompt_data() {
  QTest::addColumn<QStringList>("answers");
  QTest::addColumn<int>("prompts");
  QTest::addColumn<QString>("accepted");
  const QString hundred(100, QLatin1Char('a'));
  QTest::newRow("upper case") << QStringList{"Abc", "ana"} << 2 << "ana";
  QTest::newRow("digit") << QStringList{"abc1", "ana"} << 2 << "ana";
  QTest::newRow("punctuation") << QStringList{"a-b", "abc.", "ana"} << 3 << "ana";
  QTest::newRow("tab") << QStringList{"a\tb", "ana"} << 2 << "ana";
  QTest::newRow("c with caron") << QStringList{QString::fromUtf8("\xC4\x8D"), "ana"} << 2 << "ana";
  QTest::newRow("101 letters") << QStringList{hundred + "a", "ana"} << 2 << "ana";
  QTest::newRow("100 letters pass") << QStringList{hundred} << 1 << hundred;
  QTest::newRow("blanks pass") << QStringList{" a  b "} << 1 << " a  b ";
}

void WindowTest::refusedAnswersReopenThePrompt() {
  QFETCH(QStringList, answers);
  QFETCH(int, prompts);
  QFETCH(QString, accepted);
  Harness h;
  for (const QString& answer : answers) h.answers.push_back(answer.toStdString());
  START_AND_WAIT(h);
  QCOMPARE(h.prompts, prompts);
  QCOMPARE(h.form->cycle().state().t, accepted.toStdString());
  QVERIFY(h.form->cycle().picture() == referenceCard(accepted.toStdString()));
}

void WindowTest::dialogPromptReopensEmptyAfterARefusal() {
  Harness h;
  h.form->setPrompt({});  // the real input dialog
  // What the dialogs showed is checked once they are closed, so that a
  // failure never leaves a modal dialog waiting.
  struct Seen {
    QString label, title, field;
    bool modal = false;
    QPoint position;
  };
  std::vector<Seen> seen;
  const auto look = [&seen](const QInputDialog& dialog) {
    seen.push_back({dialog.labelText(), dialog.windowTitle(), dialog.textValue(), dialog.isModal(), dialog.pos()});
  };
  answerNextDialog([&](QInputDialog& dialog) {
    look(dialog);
    dialog.setTextValue(QStringLiteral("Abc"));
    answerNextDialog([&](QInputDialog& again) {
      look(again);
      again.setTextValue(QStringLiteral("ana"));
      again.accept();
    });
    dialog.accept();
  });
  START_AND_WAIT(h);

  const QString label =
      QString::fromUtf8("enter your name and surname\nsmall letters (lowercase, no \xC4\x8D\xC5\xA1\xC5\xBE)");
  const QPoint corner = h.form->screen()->geometry().topLeft() + QPoint(33, 580);
  QCOMPARE(seen.size(), std::size_t{2});
  for (const Seen& dialog : seen) {
    QCOMPARE(dialog.label, label);
    QCOMPARE(dialog.title, QString());
    QCOMPARE(dialog.field, QString());
    QVERIFY(dialog.modal);
    QCOMPARE(dialog.position, corner);
  }
  QCOMPARE(h.form->cycle().state().t, std::string("ana"));
  QVERIFY(h.form->cycle().picture() == referenceCard("ana"));
}

void WindowTest::dialogPromptCancelPaintsTheEmptyNamesCard() {
  Harness h;
  h.form->setPrompt({});
  answerNextDialog([](QInputDialog& dialog) {
    dialog.setTextValue(QStringLiteral("ana"));
    dialog.reject();
  });
  START_AND_WAIT(h);
  QCOMPARE(h.form->cycle().state().t, std::string());
  QVERIFY(h.form->cycle().picture() == referenceCard(""));
}

void WindowTest::repeatWithTheSameNameGivesTheSameCanvas() {
  Harness h;
  h.answers = {"ana", "ana"};
  START_AND_WAIT(h);
  const Canvas first = h.form->cycle().picture();
  h.button("Command5")->click();
  QTRY_COMPARE_WITH_TIMEOUT(h.cycles->count(), 2, kCardTimeoutMs);
  QCOMPARE(h.prompts, 2);
  QVERIFY(h.form->cycle().picture() == first);
  QVERIFY(first == referenceCard("ana"));
}

void WindowTest::saveWritesTheCanvasToTheSnapshotFile() {
  Harness h;
  h.answers = {"ana"};
  START_AND_WAIT(h);
  const Canvas& canvas = h.form->cycle().picture();
  const QRegularExpression snapshotName(QStringLiteral("^T\\d{14}\\.bmp$"));

  // Saving twice writes the same file; a folder removed in between is made again.
  for (const char* round : {"first save", "second save", "save after the folder was removed"}) {
    if (QByteArray(round).startsWith("save after")) std::filesystem::remove_all(h.folder);
    h.button("Command3")->click();
    QVERIFY2(h.messages.isEmpty(), qPrintable(h.messages.join('\n')));
    const QStringList files = h.snapshotFiles();
    QCOMPARE(files.size(), 1);
    QVERIFY2(snapshotName.match(files.front()).hasMatch(), qPrintable(files.front()));
    QCOMPARE(files.front(), QString::fromStdString(h.form->cycle().state().imeslike + ".bmp"));
    QImage saved(h.snapshotFile());
    QVERIFY2(!saved.isNull(), round);
    QCOMPARE(saved.convertToFormat(QImage::Format_RGB32), imageOf(canvas));
    QVERIFY(h.form->snapshotCopy() == canvas);
  }

  // The progress tick stays at its end, x 730..731 on the track (its last
  // point, y 567, is not painted); the black lines behind it vanish on black.
  const Canvas& surface = h.form->surface();
  for (int x = 0; x < kSurfaceWidth; ++x) {
    for (int y = kTickTop; y <= kTickBottom; ++y) {
      const bool tick = (x == 730 || x == 731) && y < kTickBottom;
      QCOMPARE(surface.pixel(x, y), static_cast<std::int64_t>(tick ? kWhite : kBlack));
    }
  }
}

void WindowTest::saveIntoAFolderThatCannotBeMadeShowsAMessage() {
  // A folder below a regular file cannot be made, whoever runs the test.
  Harness h("blocker/wimgx");
  QFile blocker(QString::fromStdString(h.folder.parent_path().string()));
  QVERIFY(blocker.open(QIODevice::WriteOnly));
  blocker.close();
  h.answers = {"ana", "ana"};
  START_AND_WAIT(h);  // the folder cannot be made at start-up either: no message, the card is painted
  QVERIFY(h.messages.isEmpty());
  QVERIFY(h.form->cycle().picture() == referenceCard("ana"));

  h.button("Command3")->click();
  QCOMPARE(h.messages.size(), 1);
  const QString& message = h.messages.front();
  QVERIFY2(message.contains(h.snapshotFile()), qPrintable(message));
  QVERIFY2(message.contains(QString::fromStdString(std::make_error_code(std::errc::not_a_directory).message())),
           qPrintable(message));

  // The picture stays and the window goes on.
  QVERIFY(h.form->isVisible());
  QVERIFY(!h.form->ended());
  QVERIFY(h.form->cycle().picture() == referenceCard("ana"));
  h.button("Command5")->click();
  QTRY_COMPARE_WITH_TIMEOUT(h.cycles->count(), 2, kCardTimeoutMs);
  QVERIFY(h.form->cycle().picture() == referenceCard("ana"));
}

void WindowTest::saveDuringPaintingHoldsTheRowsPaintedSoFar() {
  Harness h;
  h.answers = {"ana"};
  BetweenRows click(*h.form, 200, [&h] { h.button("Command3")->click(); });
  START_AND_WAIT(h);
  QVERIFY(click.rowsPainted() > 0);
  QVERIFY(click.rowsPainted() <= kHeight);

  // The snapshot holds the rows painted before the click, without caption;
  // the rows the scan had not reached are black.
  const Canvas expected = partialArt(click.recipe(), click.rowsPainted());
  QVERIFY(h.form->snapshotCopy() == expected);
  QImage saved(h.snapshotFile());
  QVERIFY(!saved.isNull());
  QCOMPARE(saved.convertToFormat(QImage::Format_RGB32), imageOf(expected));
  QVERIFY(h.messages.isEmpty());

  // The painting went on to its end, caption included.
  QCOMPARE(h.cycles->count(), 1);
  QVERIFY(h.form->cycle().picture() == referenceCard("ana"));
}

void WindowTest::repeatDuringPaintingLeavesOnlyTheNewCard() {
  Harness h;
  h.answers = {"ana", "bob"};
  BetweenRows click(*h.form, 150, [&h] { h.button("Command5")->click(); });
  h.form->start();
  // The nested cycle returns first, then the interrupted one.
  QTRY_COMPARE_WITH_TIMEOUT(h.cycles->count(), 2, kCardTimeoutMs);
  QVERIFY(click.rowsPainted() > 0);
  QCOMPARE(click.recipe().name, std::string("ana"));
  QCOMPARE(h.prompts, 2);
  QCOMPARE(h.form->cycle().state().t, std::string("bob"));
  // Exactly bob's card: no row painted below it afterwards, one greeting.
  QVERIFY(h.form->cycle().picture() == referenceCard("bob"));
  QVERIFY(!h.form->cycle().ending());
  QVERIFY(!h.form->ended());
}

void WindowTest::exitAndCloseEndTheProgram_data() {
  QTest::addColumn<bool>("useExitButton");
  QTest::addColumn<bool>("duringPainting");
  QTest::newRow("exit when idle") << true << false;
  QTest::newRow("exit during painting") << true << true;
  QTest::newRow("close when idle") << false << false;
  QTest::newRow("close during painting") << false << true;
}

void WindowTest::exitAndCloseEndTheProgram() {
  QFETCH(bool, useExitButton);
  QFETCH(bool, duringPainting);
  Harness h;
  h.answers = {"ana"};
  QSignalSpy finished(h.form.get(), &Form1::finished);
  const auto end = [&h, useExitButton] {
    if (useExitButton) {
      h.button("Command2")->click();
    } else {
      h.form->close();  // as the window's frame does
    }
  };
  std::optional<BetweenRows> between;
  if (duringPainting) {
    between.emplace(*h.form, 100, end);
  } else {
    QObject::connect(h.form.get(), &Form1::cycleEnded, [end] { QTimer::singleShot(0, end); });
  }
  // The program's event loop, wired as the program wires it, must return.
  QObject::connect(h.form.get(), &Form1::finished, qApp, &QCoreApplication::quit);
  QTimer giveUp;
  giveUp.setSingleShot(true);
  QObject::connect(&giveUp, &QTimer::timeout, [] { QCoreApplication::exit(1); });
  giveUp.start(kCardTimeoutMs);
  h.form->start();
  QCOMPARE(QApplication::exec(), 0);

  QCOMPARE(finished.count(), 1);
  QCOMPARE(h.cycles->count(), 1);
  QVERIFY(h.form->ended());
  QVERIFY(!h.form->isVisible());
  if (duringPainting) {
    // The scan stopped at once: no row after the click, no caption.
    QVERIFY(between->rowsPainted() > 0);
    QVERIFY(h.form->cycle().ending());
    QVERIFY(h.form->cycle().picture() == partialArt(between->recipe(), between->rowsPainted()));
  } else {
    QVERIFY(h.form->cycle().picture() == referenceCard("ana"));
  }
  // Nothing answers any more.
  h.button("Command5")->click();
  QCOMPARE(h.prompts, 1);
}

}  // namespace greetcard

int main(int argc, char** argv) {
  // No display is needed: the window runs on Qt's offscreen platform.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  greetcard::WindowTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "window_test.moc"
