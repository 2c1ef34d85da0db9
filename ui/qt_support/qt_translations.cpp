#include "ui/qt_support/qt_translations.h"

#include <cstring>

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace {

// Qt's catalogue, less the words Qt makes a font's style name of. The font
// chooser looks the style of the font it opens on up by that name among the
// family's own style names, which are the font files' and English: with the
// name in Japanese ("太字 斜体") it finds none and opens on the plain style,
// so a bold pane font would come back plain from a chooser left with OK.
class QtJapaneseCatalogue : public QTranslator {
 public:
  using QTranslator::QTranslator;

  QString translate(const char* context, const char* sourceText, const char* disambiguation, int n) const override {
    if (context && sourceText && std::strcmp(context, "QFontDatabase") == 0 && IsStyleWord(sourceText)) {
      return {};
    }
    return QTranslator::translate(context, sourceText, disambiguation, n);
  }

 private:
  static bool IsStyleWord(const char* text) {
    static const char* const kWords[] = {"Thin", "Extra Light", "Light", "Normal", "Medium", "Demi Bold",
                                         "Bold", "Extra Bold",  "Black", "Italic", "Oblique"};
    for (const char* word : kWords) {
      if (std::strcmp(text, word) == 0) return true;
    }
    return false;
  }
};

}  // namespace

void InstallQtJapaneseTexts() {
  // The interface is Japanese whatever the user's locale, so the language is fixed.
  auto* translator = new QtJapaneseCatalogue(QCoreApplication::instance());
  if (translator->load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    QCoreApplication::installTranslator(translator);
  } else {
    delete translator;
  }
}
