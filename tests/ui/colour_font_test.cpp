// The panes' fonts and colours: how they are stored, and the colour and
// font dialog on the real window.
#include <gtest/gtest.h>

#include <QColorDialog>
#include <QFontDatabase>
#include <QFontDialog>
#include <QGroupBox>
#include <QLayout>
#include <QLineEdit>
#include <QFontInfo>
#include <QFontMetrics>
#include <QPushButton>
#include <QTest>

#include "messages/scripted_messages.h"
#include "ports/clock.h"
#include "ports/memory_profile.h"
#include "profile/qsettings_profile.h"
#include "resources/ids.h"
#include "tests/support/temp_dir.h"
#include "tests/ui/kiv_run.h"
#include "ui/dialogs/color_font_dlg.h"
#include "ui/app/kiv_app.h"
#include "ui/views/kiv_list_view.h"
#include "ui/views/kiv_tree_view.h"
#include "ui/views/main_frame.h"
#include "ui/qt_support/modal_run.h"
#include "ui/settings/pane_font_colors.h"
#include "ui/qt_support/qt_text.h"
#include "ui/dialogs/sample_edit.h"

namespace {

TEST(PaneFontColorsStore, ReadsOverTheCurrentLookAndWritesColoursOnlyForTheList) {
  MemoryProfile profile;
  PaneFontColors record{PaneFont{-12, 400, 0, 1, 0, "Current"}, 0x000000, 0xFFFFFF};
  const PaneFontColors before = record;
  EXPECT_FALSE(LoadPaneFontColors(profile, false, record, "List"));  // nothing stored
  profile.WriteProfileInt("Setting/List", "FontSize", -16);
  profile.WriteProfileInt("Setting/List", "FontItalic", 2);
  EXPECT_FALSE(LoadPaneFontColors(profile, true, record, "List"));  // defaults mode
  EXPECT_EQ(record.font.faceName, before.font.faceName);

  // A partial section is read as it is: what is missing takes its default.
  ASSERT_TRUE(LoadPaneFontColors(profile, false, record, "List"));
  EXPECT_EQ(record.font.height, -16);
  EXPECT_EQ(record.font.weight, -1);
  EXPECT_EQ(record.font.italic, 0);     // only 1 is italic
  EXPECT_EQ(record.font.underline, 1);  // not a stored field: kept
  EXPECT_EQ(record.font.faceName, "");
  EXPECT_EQ(record.textColor, 0xFFFFFFFFu);
  EXPECT_FALSE(IsRgbColor(record.backColor));

  MemoryProfile out;
  SavePaneFontColors(out, PaneFontColors{PaneFont{-13, 700, 5, 0, 0, "IPAPGothic"}, 0x0000FF, 0x563412}, "List");
  SavePaneFontColors(out, PaneFontColors{PaneFont{-13, 400, 0, 0, 0, "IPAPGothic"}, NoColor, NoColor}, "Tree");
  EXPECT_EQ(out.GetProfileInt("Setting/List", "FontItalic", -1), 1);
  EXPECT_EQ(out.GetProfileInt("Setting/List", "BkColor", -1), 0x563412);
  EXPECT_EQ(out.values().size(), 10u);  // six for the list, four for the tree
  EXPECT_FALSE(out.Has("Setting/Tree", "TxtColor"));
}

// A family the desktop has in bold italic, so the font chooser can keep
// that choice (empty when there is none).
QString BoldItalicFamily() {
  for (const QString& family : QFontDatabase::families()) {
    for (const QString& style : QFontDatabase::styles(family)) {
      if (QFontDatabase::bold(family, style) && QFontDatabase::italic(family, style)) return family;
    }
  }
  return {};
}

QPushButton* Button(QDialog& d, int id) { return d.findChild<QPushButton*>(QString::number(id)); }

// The colour and font dialog, its list font chosen as font and OK pressed.
void ChooseListFont(CMainFrame& frame, const QFont& font) {
  QueueModalAction([&](QDialog& d) {
    QueueModalAction([&](QDialog& chooser) {
      static_cast<QFontDialog&>(chooser).setCurrentFont(font);
      chooser.accept();
    });
    Button(d, ids::kCtlListFont)->click();
    d.findChild<QPushButton*>(QStringLiteral("OK"))->click();
  });
  frame.action(ids::kCmdColoursAndFonts)->trigger();
}

TEST(ColourFontDialog, ChosenFontsAndColoursReachThePanesAndTheNextStart) {
  const QString family = BoldItalicFamily();
  if (family.isEmpty()) GTEST_SKIP() << "no font with a bold italic style";
  TempDir dir;
  MakeDir(dir.Sub("logs"));
  const std::string ini = dir.Sub("Tallowick.ini");
  {
    QSettingsProfile seed(ini);
    seed.WriteProfileString("Setting", "LOGFILE", dir.Sub("logs"));
  }
  ClearModalActions();
  const QColor back(0x12, 0x34, 0x56);
  QFont chosenTreeFont;
  {
    KivRun run(ini, false);
    CMainFrame frame(run.app);
    frame.ShowFirstTime();
    QString treeSampleText;
    bool treeColoursOff = false;
    QColor sampleBack;
    QueueModalAction([&](QDialog& d) {
      treeSampleText = d.findChild<CSampleEdit*>(IdName(ids::kCtlTreeSample))->toPlainText();
      treeColoursOff = !Button(d, ids::kCtlTreeBack)->isEnabled() && !Button(d, ids::kCtlTreeText)->isEnabled();
      QueueModalAction([&](QDialog& chooser) {
        auto& fonts = static_cast<QFontDialog&>(chooser);
        QFont f(family, 11);
        f.setBold(true);
        f.setItalic(true);
        chosenTreeFont = f;
        fonts.setCurrentFont(f);
        // The sample shows the chosen font, in a box tall enough for it.
        QLineEdit* sample = nullptr;
        for (QGroupBox* group : fonts.findChildren<QGroupBox*>()) {
          if (group->isVisible() && group->findChild<QLineEdit*>()) sample = group->findChild<QLineEdit*>();
        }
        ASSERT_NE(sample, nullptr);
        fonts.layout()->activate();
        EXPECT_EQ(sample->font().family(), family);
        EXPECT_GE(sample->height(), QFontMetrics(sample->font()).height());
        fonts.accept();
      });
      Button(d, ids::kCtlTreeFont)->click();
      QueueModalAction([&](QDialog& chooser) {
        static_cast<QColorDialog&>(chooser).setCurrentColor(back);
        chooser.accept();
      });
      Button(d, ids::kCtlListBack)->click();
      sampleBack = d.findChild<CSampleEdit*>(IdName(ids::kCtlListSample))->viewport()->palette().color(QPalette::Base);
      d.findChild<QPushButton*>(QStringLiteral("OK"))->click();
    });
    frame.action(ids::kCmdColoursAndFonts)->trigger();
    EXPECT_EQ(treeSampleText, QString::fromStdString("ツリービュー画面のイメージ\r\n" + ColorFontSampleBody())
                                  .replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    EXPECT_TRUE(treeColoursOff);
    EXPECT_EQ(sampleBack, back);  // the sample shows it before OK
    EXPECT_TRUE(frame.tree()->font().bold());
    EXPECT_EQ(frame.list()->palette().color(QPalette::Base), back);
    frame.close();
    run.app.Exit();
  }
  {
    QSettingsProfile stored(ini);
    EXPECT_EQ(stored.GetProfileInt("Setting/Tree", "FontWeight", -1), 700);
    EXPECT_EQ(stored.GetProfileInt("Setting/Tree", "FontItalic", -1), 1);
    EXPECT_FALSE(stored.HasValue("Setting/Tree", "BkColor"));
    EXPECT_EQ(stored.GetProfileInt("Setting/List", "BkColor", -1), 0x563412);
  }
  {
    KivRun run(ini, false);
    CMainFrame frame(run.app);
    EXPECT_TRUE(frame.tree()->font().bold());
    EXPECT_TRUE(frame.tree()->font().italic());
    EXPECT_EQ(frame.tree()->font().family(), chosenTreeFont.family());
    EXPECT_EQ(frame.list()->palette().color(QPalette::Base), back);
  }
  {
    // Defaults mode: the panes keep their own looks.
    KivRun run(ini, true);
    CMainFrame frame(run.app);
    EXPECT_FALSE(frame.tree()->font().bold());
    EXPECT_NE(frame.list()->palette().color(QPalette::Base), back);
    run.messages.Answer(MsgResult::No);
  }
  SetFallbackModalAction({});
}

// A family whose cell is taller than its characters (it has internal
// leading), so that a cell height and a character height of 20 differ.
QString FamilyWithLeading() {
  for (const QString& family : QFontDatabase::families()) {
    QFont font(family);
    font.setPixelSize(20);
    const QFontMetrics metrics(font);
    if (QFontInfo(font).family() == family && metrics.ascent() + metrics.descent() >= 22) return family;
  }
  return {};
}

int CellHeight(const QFont& font) {
  const QFontMetrics metrics(font);
  return metrics.ascent() + metrics.descent();
}

TEST(PaneFontHeights, ACellHeightAndACharacterHeightAreDrawnAsSuchAndWrittenBackAsRead) {
  const QString family = FamilyWithLeading();
  if (family.isEmpty()) GTEST_SKIP() << "no font with internal leading";
  TempDir dir;
  MakeDir(dir.Sub("logs"));
  const std::string ini = dir.Sub("Tallowick.ini");
  {
    QSettingsProfile seed(ini);
    seed.WriteProfileString("Setting", "LOGFILE", dir.Sub("logs"));
    seed.WriteProfileInt("Setting/List", "FontSize", 20);
    seed.WriteProfileString("Setting/List", "FontName", family.toStdString());
    seed.WriteProfileInt("Setting/Tree", "FontSize", -20);
    seed.WriteProfileString("Setting/Tree", "FontName", family.toStdString());
  }
  ClearModalActions();
  // Twice without a change: each run finds and leaves what was stored.
  for (int start = 0; start < 2; ++start) {
    {
      KivRun run(ini, false);
      CMainFrame frame(run.app);
      frame.ShowFirstTime();
      EXPECT_NEAR(CellHeight(frame.list()->font()), 20, 1) << "20 is the cell height";
      EXPECT_LT(QFontInfo(frame.list()->font()).pixelSize(), 20);
      EXPECT_EQ(QFontInfo(frame.tree()->font()).pixelSize(), 20) << "-20 is the character height";
      EXPECT_GE(CellHeight(frame.tree()->font()), 22);
      frame.close();
      run.app.Exit();
    }
    QSettingsProfile stored(ini);
    EXPECT_EQ(stored.GetProfileInt("Setting/List", "FontSize", 0), 20) << "start " << start;
    EXPECT_EQ(stored.GetProfileInt("Setting/Tree", "FontSize", 0), -20) << "start " << start;
    EXPECT_EQ(stored.GetProfileInt("Setting/List", "FontWeight", 0), -1) << "missing, and written as read";
    EXPECT_EQ(stored.GetProfileString("Setting/Tree", "FontName", ""), family.toStdString());
  }

  // A font chosen for the list is stored as its character height.
  {
    KivRun run(ini, false);
    CMainFrame frame(run.app);
    frame.ShowFirstTime();
    QFont chosen(family);
    chosen.setPixelSize(16);
    ChooseListFont(frame, chosen);
    frame.close();
    run.app.Exit();
  }
  QSettingsProfile stored(ini);
  EXPECT_LT(stored.GetProfileInt("Setting/List", "FontSize", 0), 0);
  EXPECT_EQ(stored.GetProfileInt("Setting/Tree", "FontSize", 0), -20) << "the tree's font was not changed";
  SetFallbackModalAction({});
}

// A larger list font widens the columns too narrow for their texts, as at
// first start, and leaves the wider ones as the user made them.
TEST(ColourFontDialog, ALargerListFontWidensOnlyTheColumnsTooNarrowForIt) {
  TempDir dir;
  MakeDir(dir.Sub("logs"));
  const std::string ini = dir.Sub("Tallowick.ini");
  {
    QSettingsProfile seed(ini);
    seed.WriteProfileString("Setting", "LOGFILE", dir.Sub("logs"));
    seed.WriteProfileString("Setting", "Cols", "40:600:20:30:20:20");
  }
  ClearModalActions();
  KivRun run(ini, false);
  CMainFrame frame(run.app);
  frame.ShowFirstTime();
  QFont larger(frame.list()->font());
  larger.setPixelSize(24);
  ChooseListFont(frame, larger);
  const CKivListView::ColumnWidths wanted = frame.list()->DefaultWidths();
  const CKivListView::ColumnWidths now = frame.list()->CurrentWidths();
  EXPECT_EQ(now[1], 600);
  for (std::size_t c : {0u, 2u, 3u, 4u, 5u}) EXPECT_EQ(now[c], wanted[c]) << "column " << c;
  frame.close();
  run.app.Exit();
  SetFallbackModalAction({});
}

}  // namespace
