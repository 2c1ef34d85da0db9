#pragma once
#include <QDialog>

#include "model/kiv_doc.h"

class CKivPropPage1;
class CKivPropPage2;
class Messenger;
class QTabWidget;

// What the settings sheet shows and hands back: the document's settings and
// the application's checker flag.
struct SheetSettings {
  DocumentSettings document;
  bool checkListAtStart = false;
};

// CKivPropSheet ("設定"): the folder page and the program page. A page is
// checked when the user turns to the other one or presses OK; a failed
// check keeps it in front. No Help and no Apply button.
class CKivPropSheet : public QDialog {
  Q_OBJECT

 public:
  CKivPropSheet(Messenger& messenger, const SheetSettings& settings, QWidget* parent = nullptr);

  // The sheet's modal run; on OK every trailing separator of the folder is
  // removed. True for OK.
  bool Run();
  SheetSettings Result() const;

  CKivPropPage1& page1() { return *page1_; }
  CKivPropPage2& page2() { return *page2_; }
  QTabWidget& tabs() { return *tabs_; }

 private:
  void OnTabChanged(int index);
  void OnOk();

  CKivPropPage1* page1_;
  CKivPropPage2* page2_;
  QTabWidget* tabs_;
  int storedBackUp_ = 1;
  int activePage_ = 0;
  bool turningBack_ = false;
};
