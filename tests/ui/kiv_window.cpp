#include "tests/ui/kiv_window.h"

#include <cstdlib>
#include <stdexcept>

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QTest>
#include <QTreeWidget>

#include "profile/qsettings_profile.h"
#include "ui/qt_support/dialog_font.h"
#include "ui/app/kiv_app.h"
#include "ui/views/kiv_list_view.h"
#include "ui/views/kiv_tree_view.h"
#include "ui/views/main_frame.h"
#include "ui/qt_support/modal_run.h"
#include "ui/qt_support/qt_translations.h"

namespace {

// One application object for the whole test program, made before the first
// test and gone before the program's exit handlers run.
class QtApplication : public ::testing::Environment {
 public:
  void SetUp() override {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    app_ = std::make_unique<QApplication>(argc_, argv_);
    InstallQtJapaneseTexts();
    QApplication::setFont(DialogFont());
  }
  void TearDown() override { app_.reset(); }

 private:
  int argc_ = 1;
  char name_[13] = "kiv_ui_tests";
  char* argv_[2] = {name_, nullptr};
  std::unique_ptr<QApplication> app_;
};

[[maybe_unused]] ::testing::Environment* const kQtApplication = ::testing::AddGlobalTestEnvironment(new QtApplication);

}  // namespace

KivWindow::KivWindow(const std::string& sampleOptions, bool generate, const std::string& beforeStart,
                     const std::string& settings)
    : shared_(dir_.Sub("logs")), clock_(kToday) {
  ClearModalActions();
  SetFallbackModalAction([this](QDialog& d) {
    unexpected_ << d.objectName();
    d.reject();
  });
  if (generate) {
    const std::string command = std::string(KIV_SAMPLEGEN_PATH) + " " + shared_ + " " + sampleOptions + " >/dev/null";
    if (std::system(command.c_str()) != 0) throw std::runtime_error("kiv-samplegen failed");
  } else {
    MakeDir(shared_);
  }
  if (!beforeStart.empty() && std::system(("cd " + shared_ + " && " + beforeStart).c_str()) != 0) {
    throw std::runtime_error("preparing the shared folder failed");
  }
  if (!settings.empty()) WriteBytes(dir_.Sub("Tallowick.ini"), settings);
  profile_ = std::make_unique<QSettingsProfile>(dir_.Sub("Tallowick.ini"));
  StartOptions options;
  options.logFolder = shared_;
  app_ = std::make_unique<CKivApp>(*profile_, clock_, options);
  app_->messages().SetScript(&messages_);
  frame_ = std::make_unique<CMainFrame>(*app_);
  frame_->resize(800, 500);
  frame_->ShowFirstTime();
  if (!QTest::qWaitForWindowExposed(frame_.get())) throw std::runtime_error("the window did not show");
}

KivWindow::~KivWindow() {
  frame_.reset();
  app_->Exit();
  app_.reset();
  ClearModalActions();
  SetFallbackModalAction({});
}

void KivWindow::ClickNode(const QString& text) {
  CKivTreeView* tree = frame_->tree();
  QTreeWidgetItem* item = tree->FindItem(text);
  if (!item) throw std::runtime_error("no tree node " + text.toStdString());
  tree->scrollToItem(item);
  QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(item).center());
}

QStringList KivWindow::Column(int c) const {
  QStringList texts;
  const CKivListView* list = frame_->list();
  for (int i = 0; i < list->topLevelItemCount(); ++i) texts << list->topLevelItem(i)->text(c);
  return texts;
}

int KivWindow::RowOf(const QString& fileName) const { return static_cast<int>(Column(0).indexOf(fileName)); }

void KivWindow::SelectFiles(const QStringList& names) {
  CKivListView* list = frame_->list();
  for (int i = 0; i < list->topLevelItemCount(); ++i) {
    list->topLevelItem(i)->setSelected(names.contains(list->topLevelItem(i)->text(0)));
  }
}

void KivWindow::Trigger(int commandId) {
  QAction* action = frame_->action(commandId);
  if (!action) throw std::runtime_error("no command " + std::to_string(commandId));
  action->trigger();
}

std::vector<int> KivWindow::MessageIds() const {
  std::vector<int> shown;
  for (const auto& box : messages_.boxes) shown.push_back(box.id);
  return shown;
}
