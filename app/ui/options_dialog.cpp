#include "app/ui/options_dialog.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>

#include "fleet/fleet_settings.h"
#include "link/link_texts.h"
#include "store/store_url.h"

namespace qz {

OptionsDialog::OptionsDialog(CommSettings settings, QWidget* parent)
    : QDialog(parent), settings_(std::move(settings))
{
    setObjectName(QStringLiteral("BtnRightDlg"));
    setWindowTitle(QStringLiteral("Quorvant Options"));
    setModal(false);

    portFrame_ = new QFrame(this);
    portFrame_->setFrameShape(QFrame::StyledPanel);
    portFrame_->setGeometry(8, 8, 281, 137);
    label1_ = new QLabel(QStringLiteral("Communication port"), portFrame_);
    label1_->setObjectName(QStringLiteral("Label1"));
    label1_->setGeometry(16, 10, 250, 20);
    combo_ = new QComboBox(portFrame_);
    combo_->setObjectName(QStringLiteral("ComboBox1"));
    combo_->setGeometry(16, 36, 250, 26);
    combo_->setEditable(false);
    combo_->installEventFilter(this);
    verify_ = new QCheckBox(QStringLiteral("Verify downloads (slower)"), portFrame_);
    verify_->setObjectName(QStringLiteral("VerifyCheckBox"));
    verify_->setToolTip(QStringLiteral("Every block is read twice and must read the same: about "
                                       "twice the time of a download"));
    verify_->setGeometry(16, 102, 250, 24);
    // A port the platform does not list (a pseudo-terminal, a link under /dev/serial),
    // typed by hand and tried when OK is pressed.
    path_ = new QLineEdit(portFrame_);
    path_->setObjectName(QStringLiteral("PortPathEdit"));
    path_->setPlaceholderText(QStringLiteral("Other port: /dev/pts/3"));
    path_->setGeometry(16, 68, 250, 26);

    modemFrame_ = new QFrame(this);
    modemFrame_->setFrameShape(QFrame::StyledPanel);
    modemFrame_->setGeometry(8, 156, 281, 49);
    check_ = new QCheckBox(QStringLiteral("   Modem"), modemFrame_);
    check_->setObjectName(QStringLiteral("CheckBox1"));
    check_->setGeometry(16, 12, 200, 24);

    // Where the Fleet window finds its loggers: the fleet file Collect now reaches them
    // through, and the store it shows (empty: the fleet file's).
    fleetFrame_ = new QFrame(this);
    fleetFrame_->setFrameShape(QFrame::StyledPanel);
    fleetFrame_->setGeometry(8, 216, 382, 96);
    auto* fleetFileLabel = new QLabel(QStringLiteral("Fleet file"), fleetFrame_);
    fleetFileLabel->setGeometry(16, 12, 80, 24);
    fleetFile_ = new QLineEdit(fleetFrame_);
    fleetFile_->setObjectName(QStringLiteral("FleetFileEdit"));
    fleetFile_->setPlaceholderText(QStringLiteral("/etc/quorzk/fleet.ini"));
    fleetFile_->setGeometry(100, 12, 266, 26);
    auto* storeLabel = new QLabel(QStringLiteral("Fleet store"), fleetFrame_);
    storeLabel->setGeometry(16, 52, 80, 24);
    fleetStore_ = new QLineEdit(fleetFrame_);
    fleetStore_->setObjectName(QStringLiteral("FleetStoreEdit"));
    fleetStore_->setPlaceholderText(QStringLiteral("the fleet file's: sqlite:PATH, postgresql://..."));
    fleetStore_->setGeometry(100, 52, 266, 26);

    ok_ = new QPushButton(QStringLiteral("OK"), this);
    ok_->setObjectName(QStringLiteral("OKBtn"));
    ok_->setGeometry(300, 8, 90, 27);
    ok_->setDefault(true);
    cancel_ = new QPushButton(QStringLiteral("Cancel"), this);
    cancel_->setObjectName(QStringLiteral("CancelBtn"));
    cancel_->setGeometry(300, 40, 90, 27);
    help_ = new QPushButton(QStringLiteral("&Help"), this);
    help_->setObjectName(QStringLiteral("HelpBtn"));
    help_->setGeometry(300, 72, 90, 27);
    fullHeight_ = 320;
    setFixedSize(398, fullHeight_);
    fleetFrame_->setFixedWidth(382);

    connect(combo_, &QComboBox::activated, this, [this](int index) { settings_.choosePort(index); });
    connect(check_, &QCheckBox::toggled, this, [this](bool on) {
        settings_.setModemChecked(on);
        syncVerify(); // until the user chooses, verifying follows the modem
    });
    connect(verify_, &QCheckBox::clicked, this, [this](bool on) { settings_.setVerifyDownloads(on); });
    connect(ok_, &QPushButton::clicked, this, &OptionsDialog::acceptOptions);
    connect(cancel_, &QPushButton::clicked, this, &OptionsDialog::discardOptions);
    connect(help_, &QPushButton::clicked, this, [this] { emit helpRequested(4); });

    settings_.settleAtStart();
    fillList();
    syncControls();
}

void OptionsDialog::fillList()
{
    const QSignalBlocker block(combo_);
    combo_->clear();
    for (const PortChoice& c : settings_.ports())
        combo_->addItem(c.text, c.name);
}

void OptionsDialog::syncControls()
{
    const QSignalBlocker blockCombo(combo_);
    const QSignalBlocker blockCheck(check_);
    const int index = settings_.currentIndex();
    if (index >= 0)
        combo_->setCurrentIndex(index);
    check_->setChecked(settings_.modemChecked());
    syncVerify();
    const bool modem = settings_.modemAvailable();
    check_->setVisible(modem);
    modemFrame_->setVisible(modem);
    // Without a modem the fleet group moves up into its place.
    const int fleetTop = modem ? modemFrame_->geometry().bottom() + 11 : modemFrame_->y();
    fleetFrame_->move(fleetFrame_->x(), fleetTop);
    setFixedHeight(fleetTop + fleetFrame_->height() + 8);
}

void OptionsDialog::syncVerify()
{
    const QSignalBlocker block(verify_);
    verify_->setChecked(settings_.verifyChecked());
}

void OptionsDialog::setFleetSettingsFile(const QString& iniPath)
{
    fleetIni_ = iniPath;
}

void OptionsDialog::showOptions()
{
    settings_.load();
    if (!fleetIni_.isEmpty()) {
        const FleetSettings fleet = FleetSettings::load(fleetIni_);
        fleetFile_->setText(fleet.fleetFile);
        fleetStore_->setText(fleet.store);
    }
    settings_.setModemLink(settings_.modemAvailable());
    syncControls();
    show();
    raise();
    activateWindow();
}

void OptionsDialog::acceptOptions()
{
    if (const QString typed = path_->text().trimmed(); !typed.isEmpty()) {
        QString reason;
        if (!settings_.choosePath(typed, reason)) {
            emit portRefused(texts::unableToOpenPort(typed, reason));
            return;
        }
        path_->clear();
        fillList();
        syncControls();
    }
    // The settings file is no place for a password: libpq finds it in ~/.pgpass or
    // PGPASSWORD, and the field would show it.
    if (const QString store = fleetStore_->text().trimmed();
        !fleetIni_.isEmpty() && withoutPassword(store) != store) {
        emit storeRefused(
            QStringLiteral("The options keep no password: give the store as %1 and its password in "
                           "~/.pgpass or PGPASSWORD")
                .arg(withoutPassword(store)));
        return;
    }
    hide();
    settings_.save();
    if (!fleetIni_.isEmpty()) {
        const FleetSettings before = FleetSettings::load(fleetIni_);
        FleetSettings fleet{fleetFile_->text().trimmed(), fleetStore_->text().trimmed()};
        if (fleet.fleetFile != before.fleetFile || fleet.store != before.store) {
            if (const IniResult saved = fleet.save(fleetIni_); !saved.ok())
                emit fleetNotSaved(saved);
            emit fleetChanged(fleet);
        }
    }
}

void OptionsDialog::discardOptions()
{
    path_->clear();
    // The port chosen in the list meanwhile stays chosen.
    hide();
}

void OptionsDialog::closeEvent(QCloseEvent* event)
{
    settings_.save();
    QDialog::closeEvent(event);
}

bool OptionsDialog::eventFilter(QObject* watched, QEvent* event)
{
    // The port list is chosen from, never typed into.
    if (watched == combo_ && (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease)) {
        // Keys that only move the focus or open the list pass; they choose nothing.
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool opensList = key->key() == Qt::Key_F4 || key->key() == Qt::Key_Space
            || ((key->key() == Qt::Key_Down || key->key() == Qt::Key_Up)
                && key->modifiers().testFlag(Qt::AltModifier));
        if (key->key() != Qt::Key_Tab && key->key() != Qt::Key_Backtab && !opensList)
            return true;
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace qz
