#pragma once
// "Quorvant Options": the port every window talks through, whether downloads are verified,
// whether a modem is in the path, and the fleet file and store the Fleet window shows.
// Created at start, shown without blocking, never destroyed before the program ends.
#include "fleet/fleet_settings.h"
#include "link/comm_settings.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;

namespace qz {

class OptionsDialog final : public QDialog {
    Q_OBJECT
public:
    OptionsDialog(CommSettings settings, QWidget* parent = nullptr);

    CommSettings& settings() { return settings_; }
    const CommSettings& settings() const { return settings_; }
    const QString& currentPort() const { return settings_.currentPort(); }
    LinkSettings link() const { return settings_.link(); }

    // Reads the settings into the controls; the modem link follows the modem file.
    void showOptions();
    void acceptOptions();
    void discardOptions();

    QComboBox* portComboBox() const { return combo_; }
    QCheckBox* modemCheckBox() const { return check_; }
    QCheckBox* verifyCheckBox() const { return verify_; }
    QLineEdit* portPathEdit() const { return path_; }
    QLineEdit* fleetFileEdit() const { return fleetFile_; }
    QLineEdit* fleetStoreEdit() const { return fleetStore_; }

    // The settings file the fleet choices are kept in.
    void setFleetSettingsFile(const QString& iniPath);

signals:
    void helpRequested(int context);
    // A port typed by hand did not open: the text to tell (the dialog stays open).
    void portRefused(const QString& message);
    // The fleet file or store was changed (and kept, unless fleetNotSaved came first).
    void fleetChanged(const FleetSettings& fleet);
    void fleetNotSaved(const IniResult& failed);
    // A store typed with its password: the text to tell (the dialog stays open).
    void storeRefused(const QString& message);

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void fillList();
    void syncControls();
    void syncVerify();

    CommSettings settings_;
    QFrame* portFrame_;
    QFrame* modemFrame_;
    QLabel* label1_;
    QComboBox* combo_;
    QCheckBox* check_;
    QCheckBox* verify_;
    QLineEdit* path_;
    QFrame* fleetFrame_;
    QLineEdit* fleetFile_;
    QLineEdit* fleetStore_;
    QString fleetIni_;
    QPushButton* ok_;
    QPushButton* cancel_;
    QPushButton* help_;
    int fullHeight_ = 0;
};

} // namespace qz
