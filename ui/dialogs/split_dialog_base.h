#pragma once
#include <QDialog>

#include "ports/dialogs.h"

class Messenger;
class QButtonGroup;
class QComboBox;
class QGridLayout;
class QLineEdit;
class QMouseEvent;

// What the two split dialogs share: the kind list, the method and form
// radio groups, the number field with its 0-65536 check, the keypad on a
// right click while the number field has the focus, OK and Cancel. Each
// dialog moves its own values in and out of these controls.
class SplitDialogBase : public QDialog {
  Q_OBJECT

 public:
  QLineEdit* numberField() const { return number_; }
  QComboBox* kindList() const { return kinds_; }

 protected:
  struct Ids {
    int dialog, kindList, number, firstMethod, secondMethod, firstForm, secondForm;
  };
  SplitDialogBase(const Ids& ids, const QString& title, const QString& firstMethodText, Messenger& messenger,
                  QWidget* parent);

  // Lays out the shared controls from row on; the dialog's own rows come first.
  void AddSharedControls(QGridLayout* grid, int row);

  // Values -> controls, and controls -> values (false when the number field
  // does not hold a number the dialog takes: the standard message has been
  // shown and the field has the focus).
  virtual void ShowValues() = 0;
  virtual bool ReadValues() = 0;
  virtual void OnFirstMethod() = 0;
  virtual void OnSecondMethod() = 0;
  virtual void OnOk() = 0;

  // The choices both dialogs share -> controls, and back (false as for
  // ReadNumber, the form and kind read already).
  void ShowChoices(const SplitChoices& choices);
  bool ReadChoices(SplitChoices& choices);
  void ShowKind(int kindIndex);
  int ReadKind() const;
  void ShowNumber(int number);
  bool ReadNumber(int& number);
  static void ShowChoice(QButtonGroup* group, int index);
  static int ReadChoice(const QButtonGroup* group);
  QButtonGroup* methods() const { return methods_; }
  QButtonGroup* forms() const { return forms_; }
  Messenger& messenger() { return messenger_; }

  void mousePressEvent(QMouseEvent* event) override;
  // The kind list opens with the Down arrow key.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void RunNumberPad();

  Messenger& messenger_;
  QComboBox* kinds_;
  QLineEdit* number_;
  QButtonGroup* methods_;
  QButtonGroup* forms_;
  QWidget* methodBox_;
  QWidget* formBox_;
  QWidget* kindLabel_;
  QWidget* numberLabel_;
  QWidget* buttons_;
};
