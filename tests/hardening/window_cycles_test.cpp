// The window's whole life on the offscreen platform: start-up with a refused
// answer, a save, "repeat", a "repeat" pressed while a card is being painted,
// then "exit". Run under the asan build with detect_leaks=1 it shows that
// none of this leaks; in every build it checks what each step leaves behind.
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "form/form1.h"
#include "form/snapshot.h"
#include "output/image_file.h"

namespace greetcard {
namespace {

// Longest wait for one step (a card under the sanitizers is slow).
constexpr qint64 kStepTimeoutMs = 300000;

// Lets the event loop run until `done` holds or the time is up.
bool waitUntil(const std::function<bool()>& done) {
  QElapsedTimer timer;
  timer.start();
  while (!done()) {
    if (timer.elapsed() > kStepTimeoutMs) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
  }
  return true;
}

TEST(WindowLife, StartSaveRepeatNestedRepeatAndExit) {
  QTemporaryDir temp;
  ASSERT_TRUE(temp.isValid());
  const std::filesystem::path folder = std::filesystem::path(temp.path().toStdString()) / "wimgx";

  auto form = std::make_unique<Form1>(folder);
  std::deque<std::string> answers = {"Abc", "ana", "marko polo", "ana", "zz z"};
  int prompts = 0;
  form->setPrompt([&](std::string_view, std::string_view) {
    ++prompts;
    std::string answer = answers.empty() ? std::string() : answers.front();
    if (!answers.empty()) answers.pop_front();
    return answer;
  });
  QStringList messages;
  form->setMessageFunction([&messages](const QString& text) { messages << text; });
  int cyclesEnded = 0;
  bool finished = false;
  QObject::connect(form.get(), &Form1::cycleEnded, [&cyclesEnded] { ++cyclesEnded; });
  QObject::connect(form.get(), &Form1::finished, [&finished] { finished = true; });
  const auto button = [&form](const char* name) {
    return form->findChild<QPushButton*>(QString::fromLatin1(name));
  };
  ASSERT_NE(button("Command5"), nullptr);

  // Start-up: the refused answer reopens the prompt, "ana" is painted.
  form->start();
  ASSERT_TRUE(waitUntil([&] { return cyclesEnded == 1; }));
  EXPECT_EQ(prompts, 2);
  EXPECT_EQ(form->cycle().state().t, "ana");

  // Save: the snapshot file holds the canvas.
  button("Command3")->click();
  const std::filesystem::path snapshot = snapshotPath(folder, form->cycle().state().imeslike);
  ASSERT_TRUE(std::filesystem::exists(snapshot));
  EXPECT_EQ(QImage(QString::fromStdString(snapshot.string())).convertToFormat(QImage::Format_RGB32),
            toImage(form->cycle().picture()));

  // "repeat" paints the next name.
  button("Command5")->click();
  ASSERT_TRUE(waitUntil([&] { return cyclesEnded == 2; }));
  EXPECT_EQ(form->cycle().state().t, "marko polo");

  // "repeat" again, and once more from the events between its rows: the
  // nested cycle paints "zz z" and the interrupted one stops.
  bool nestedClicked = false;
  QTimer between;
  between.setInterval(0);
  QObject::connect(&between, &QTimer::timeout, [&] {
    if (!form->cycle().painting() || form->cycle().state().j < 100) return;
    between.stop();
    nestedClicked = true;
    button("Command5")->click();
  });
  between.start();
  button("Command5")->click();
  ASSERT_TRUE(waitUntil([&] { return cyclesEnded == 4; }));
  EXPECT_TRUE(nestedClicked);
  EXPECT_EQ(form->cycle().state().t, "zz z");
  EXPECT_EQ(prompts, 5);

  // "exit" ends the program; the window goes away with everything it holds.
  button("Command2")->click();
  ASSERT_TRUE(waitUntil([&] { return finished; }));
  EXPECT_TRUE(form->ended());
  EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
  form.reset();
  QCoreApplication::processEvents();
}

}  // namespace
}  // namespace greetcard
