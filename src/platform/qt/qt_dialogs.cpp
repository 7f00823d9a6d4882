#include "platform/qt/qt_dialogs.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QFont>
#include <QFontMetrics>
#include <QGroupBox>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSpinBox>
#include <algorithm>
#include <span>

#include "model/ids.h"
#include "platform/qt/program_icon.h"

namespace brenavo {

int DialogUnits::toPixelsX(int x) const { return (x * charWidth + 2) / 4; }

int DialogUnits::toPixelsY(int y) const { return (y * charHeight + 4) / 8; }

QRect DialogUnits::toPixels(int x, int y, int width, int height) const {
  return QRect(toPixelsX(x), toPixelsY(y), toPixelsX(width), toPixelsY(height));
}

QPoint centredOn(const QRect& owner, const QSize& dialog) {
  return QPoint(owner.left() + (owner.width() - dialog.width()) / 2,
                owner.top() + (owner.height() - dialog.height()) / 2);
}

namespace {

// The dialog units of a font.
DialogUnits dialogUnitsOf(const QFont& font) {
  const QFontMetrics metrics(font);
  const int alphabetWidth = metrics.horizontalAdvance(
      QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
  return DialogUnits{(alphabetWidth / 26 + 1) / 2, metrics.height()};
}

// A rectangle in dialog units.
struct UnitRect {
  int x, y, width, height;
  QRect in(const DialogUnits& units) const { return units.toPixels(x, y, width, height); }
};

struct RadioItem {
  int id;
  const char* text;
  UnitRect rect;
};

struct GroupItem {
  int id;
  const char* title;
  UnitRect rect;
  std::span<const RadioItem> radios;
};

constexpr RadioItem kTuningRadios[] = {
    {IDRB_GCF, "&G-C-F", {20, 20, 40, 10}},
    {IDRB_EAD, "&E-A-D", {20, 30, 40, 10}},
    {IDRB_FBE, "&F-Bb-Eb", {60, 20, 40, 10}},
    {IDRB_ADG, "&A-D-G", {60, 30, 40, 10}},
};

constexpr RadioItem kDirectionRadios[] = {
    {IDRB_OUT, "Notas hacia FUERA", {20, 70, 130, 10}},
    {IDRB_IN, "Notas hacia DENTRO", {20, 80, 130, 10}},
    {IDRB_MIXED, "Notas hacia FUERA y hacia DENTRO", {20, 90, 130, 10}},
};

constexpr RadioItem kVoiceRadios[] = {
    {IDRB_TANGO_ACC, "Acordeon", {20, 130, 70, 10}},
    {IDRB_PICCOLO, "Flauta", {20, 140, 70, 10}},
    {IDRB_GRAND_PIANO, "Piano", {90, 130, 60, 10}},
    {IDRB_GUITAR_STEEL, "Guitarra", {90, 140, 60, 10}},
};

constexpr GroupItem kOptionGroups[] = {
    {1010, "Tono de Acordeon", {10, 10, 100, 40}, kTuningRadios},
    {1020, "Direccion de Notas", {10, 60, 150, 50}, kDirectionRadios},
    {2000, "Voz de MIDI", {10, 120, 150, 40}, kVoiceRadios},
};

constexpr UnitRect kShowKeysBox{20, 162, 130, 10};
// Listening, under "Mostrar teclas": the input (only when there are several) and the
// reference A, one row each.
constexpr int kListeningTop = 177;
constexpr int kListeningRow = 15;
constexpr int kLowestReferenceA = 430;
constexpr int kHighestReferenceA = 450;

constexpr UnitRect kOptionsClient{0, 0, 175, 200};
constexpr UnitRect kSaveButton{25, 175, 50, 15};
constexpr UnitRect kCancelButton{100, 175, 50, 15};
constexpr int kRightMargin = 15;

// What the about and usage dialogs are made of.
struct InfoLayout {
  const char* objectName;
  const char* title;
  UnitRect client;
  UnitRect text;
  bool withIcon;
  UnitRect icon;
  UnitRect okButton;
};

constexpr InfoLayout kAboutLayout{
    .objectName = "aboutDialog",
    .title = "Brenavo: Sobre el Brenavo",
    .client = {0, 0, 220, 110},
    .text = {10, 10, 200, 64},
    .withIcon = true,
    .icon = {190, 10, 30, 30},
    .okButton = {85, 90, 50, 15},
};
constexpr InfoLayout kUsageLayout{
    .objectName = "usageDialog",
    .title = "Brenavo: Informacion de uso",
    .client = {0, 0, 280, 250},
    .text = {10, 10, 280, 208},
    .withIcon = false,
    .icon = {},
    .okButton = {115, 230, 50, 15},
};
constexpr int kTextMargin = 10;
constexpr int kIconPixels = 32;

// Neither push button of the options dialog is the default one: Enter presses the
// push button that has the focus and does nothing anywhere else.
class OptionsDialog : public QDialog {
 public:
  using QDialog::QDialog;

 protected:
  void keyPressEvent(QKeyEvent* event) override {
    if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter) {
      QDialog::keyPressEvent(event);
      return;
    }
    if (auto* button = qobject_cast<QPushButton*>(focusWidget())) button->click();
  }
};

// Moves the dialog so that its outer rectangle is centred on the owner's window (or on
// the screen when there is no owner). The dialog's frame is taken to be as thick as
// the owner's, since it is not known before the dialog is shown.
void placeCentred(QDialog& dialog, QWidget* owner) {
  if (owner == nullptr) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QRect desktop = screen != nullptr ? screen->geometry() : QRect();
    dialog.move(centredOn(desktop, dialog.size()));
    return;
  }
  const QWidget* window = owner->window();
  const QSize frame = window->frameGeometry().size() - window->geometry().size();
  dialog.move(centredOn(window->frameGeometry(), dialog.size() + frame));
}

QPushButton* addPushButton(QDialog& dialog, const char* name, const char* text, const QRect& rect) {
  auto* button = new QPushButton(QString::fromUtf8(text), &dialog);
  button->setObjectName(QString::fromLatin1(name));
  button->setGeometry(rect);
  return button;
}

// One group box with its radio buttons, which exclude one another only. The radio
// buttons are no tab stops; they are reached with the mouse or their mnemonics. A
// radio button whose text needs more room than the template gives it is widened, and
// its box with it. Returns the box's right edge.
int addOptionGroup(QDialog& dialog, const DialogUnits& units, const GroupItem& group,
                   QButtonGroup& buttons) {
  auto* box = new QGroupBox(QString::fromUtf8(group.title), &dialog);
  box->setObjectName(QStringLiteral("group_%1").arg(group.id));
  QRect boxRect = group.rect.in(units);
  for (const RadioItem& radioItem : group.radios) {
    auto* radio = new QRadioButton(QString::fromUtf8(radioItem.text), &dialog);
    radio->setObjectName(QStringLiteral("radio_%1").arg(radioItem.id));
    radio->setFocusPolicy(Qt::ClickFocus);
    QRect rect = radioItem.rect.in(units);
    rect.setWidth(std::max(rect.width(), radio->sizeHint().width()));
    radio->setGeometry(rect);
    buttons.addButton(radio, radioItem.id);
    boxRect.setRight(std::max(boxRect.right(), rect.right() + units.toPixelsX(5)));
  }
  box->setGeometry(boxRect);
  box->lower();
  return boxRect.right();
}

// A captioned row of the listening group: the text at the left, the control at the right.
void placeRow(QDialog& dialog, const DialogUnits& units, int row, const char* text, QWidget& control) {
  const int y = kListeningTop + 12 + row * kListeningRow;
  auto* label = new QLabel(QString::fromUtf8(text), &dialog);
  label->setGeometry(UnitRect{20, y + 1, 60, 10}.in(units));
  control.setGeometry(UnitRect{80, y, 70, 12}.in(units));
}

// The "Escucha" group; returns its height in dialog units.
int addListeningGroup(QDialog& dialog, const DialogUnits& units,
                      const platform::OptionsChecks& initial, QComboBox*& input,
                      QSpinBox& reference) {
  int rows = 0;
  if (initial.inputs.size() > 1) {
    input = new QComboBox(&dialog);
    input->setObjectName(QStringLiteral("input_%1").arg(IDC_INPUT_DEVICE));
    for (const std::string& name : initial.inputs) input->addItem(QString::fromStdString(name));
    input->setCurrentIndex(std::max(initial.input, 0));
    placeRow(dialog, units, rows++, "Entrada:", *input);
  }
  reference.setObjectName(QStringLiteral("reference_%1").arg(IDC_REFERENCE_A));
  reference.setRange(kLowestReferenceA, kHighestReferenceA);
  reference.setSuffix(QStringLiteral(" Hz"));
  reference.setValue(initial.referenceA);
  placeRow(dialog, units, rows++, "La de referencia:", reference);
  const int height = 12 + rows * kListeningRow + 3;
  auto* box = new QGroupBox(QStringLiteral("Escucha (practicar)"), &dialog);
  box->setGeometry(UnitRect{10, kListeningTop, 150, height}.in(units));
  box->lower();
  return height;
}

void checkButton(const QButtonGroup& buttons, int id) {
  if (QAbstractButton* button = buttons.button(id)) button->setChecked(true);
}

void runInfoDialog(QWidget* owner, const InfoLayout& layout, const std::string& text) {
  QDialog dialog(owner);
  dialog.setObjectName(QString::fromLatin1(layout.objectName));
  dialog.setWindowTitle(QString::fromUtf8(layout.title));
  dialog.setFont(QFont(QStringLiteral("Arial"), 8));
  const DialogUnits units = dialogUnitsOf(dialog.font());

  // The text gets the room the template gives it, and more when it needs more: the
  // whole text always shows.
  auto* label = new QLabel(&dialog);
  label->setObjectName(QStringLiteral("textLabel"));
  label->setTextFormat(Qt::PlainText);
  label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  label->setText(QString::fromUtf8(text.c_str(), static_cast<qsizetype>(text.size())));
  const QSize needed = label->sizeHint();
  const QRect client = layout.client.in(units);
  const int margin = units.toPixelsX(kTextMargin);
  QRect textRect = layout.text.in(units);
  textRect.setWidth(
      std::max(std::min(textRect.width(), client.width() - textRect.x() - margin), needed.width()));
  const int extraHeight = std::max(0, needed.height() - textRect.height());
  textRect.setHeight(textRect.height() + extraHeight);
  label->setGeometry(textRect);
  const QSize size(std::max(client.width(), textRect.right() + 1 + margin),
                   client.height() + extraHeight);

  if (layout.withIcon) {
    auto* icon = new QLabel(&dialog);
    icon->setObjectName(QStringLiteral("iconLabel"));
    icon->setPixmap(
        qt::programIcon().pixmap(QSize(kIconPixels, kIconPixels), dialog.devicePixelRatioF()));
    // The icon keeps its distance from the right edge when the dialog grows.
    const QRect iconRect = layout.icon.in(units);
    icon->setGeometry(size.width() - (client.width() - iconRect.x()), iconRect.y(), kIconPixels,
                      kIconPixels);
  }

  QRect okRect = layout.okButton.in(units);
  okRect.moveTo((size.width() - okRect.width()) / 2, okRect.y() + extraHeight);
  QPushButton* ok = addPushButton(dialog, "okButton", "OK", okRect);
  ok->setDefault(true);
  ok->setFocus();
  QObject::connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);

  dialog.setFixedSize(size);
  placeCentred(dialog, owner);
  dialog.exec();
}

}  // namespace

QtDialogs::QtDialogs(QWidget* owner) : owner_(owner) {}

platform::OptionsOutcome QtDialogs::runOptions(const platform::OptionsChecks& initial) {
  OptionsDialog dialog(owner_);
  dialog.setObjectName(QStringLiteral("optionsDialog"));
  dialog.setWindowTitle(QStringLiteral("Brenavo: Opciones"));
  const DialogUnits units = dialogUnitsOf(dialog.font());

  QButtonGroup tuning;
  QButtonGroup direction;
  QButtonGroup voice;
  QButtonGroup* groups[] = {&tuning, &direction, &voice};
  int right = 0;
  for (std::size_t i = 0; i < std::size(groups); ++i) {
    right = std::max(right, addOptionGroup(dialog, units, kOptionGroups[i], *groups[i]));
  }

  auto* showKeys = new QCheckBox(QStringLiteral("Mostrar &teclas"), &dialog);
  showKeys->setObjectName(QStringLiteral("check_%1").arg(IDC_SHOW_KEYS));
  showKeys->setFocusPolicy(Qt::ClickFocus);
  showKeys->setGeometry(kShowKeysBox.in(units));
  showKeys->setChecked(initial.showKeys != 0);

  QComboBox* input = nullptr;
  auto* reference = new QSpinBox(&dialog);
  // The buttons move down from their place to under the listening group.
  const int below = kListeningTop + addListeningGroup(dialog, units, initial, input, *reference) +
                    15 - kSaveButton.y;
  const QRect saveRect = kSaveButton.in(units).translated(0, units.toPixelsY(below));
  const QRect cancelRect = kCancelButton.in(units).translated(0, units.toPixelsY(below));
  QPushButton* save = addPushButton(dialog, "okButton", "GUAR&DAR", saveRect);
  QPushButton* cancel = addPushButton(dialog, "cancelButton", "CAN&CELAR", cancelRect);
  for (QPushButton* button : {save, cancel}) {
    button->setAutoDefault(false);
    button->setDefault(false);
  }
  QObject::connect(save, &QPushButton::clicked, &dialog, &QDialog::accept);
  QObject::connect(cancel, &QPushButton::clicked, &dialog, &QDialog::reject);

  checkButton(tuning, initial.tuning);
  checkButton(direction, initial.direction);
  checkButton(voice, initial.voice);
  save->setFocus();

  const QRect client = kOptionsClient.in(units);
  dialog.setFixedSize(std::max(client.width(), right + 1 + units.toPixelsX(kRightMargin)),
                      client.height() + units.toPixelsY(below));
  placeCentred(dialog, owner_);
  const bool saved = dialog.exec() == QDialog::Accepted;
  platform::OptionsChecks chosen = initial;
  chosen.tuning = tuning.checkedId();
  chosen.direction = direction.checkedId();
  chosen.voice = voice.checkedId();
  chosen.showKeys = showKeys->isChecked() ? 1 : 0;
  if (input) chosen.input = input->currentIndex();
  chosen.referenceA = reference->value();
  return platform::OptionsOutcome{saved, chosen};
}

void QtDialogs::runAbout(const std::string& text) { runInfoDialog(owner_, kAboutLayout, text); }

void QtDialogs::runUsage(const std::string& text) { runInfoDialog(owner_, kUsageLayout, text); }

}  // namespace brenavo
