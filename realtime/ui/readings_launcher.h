#pragma once
// Prepares the readings window for a logger and relays the main window's one-second tick
// to it, only while it shows, so the window never reads without a prepared logger.
#include "model/byte_view.h"

#include <QObject>

namespace qz {

class ReadingsWindow;

class ReadingsLauncher final : public QObject {
    Q_OBJECT
public:
    explicit ReadingsLauncher(ReadingsWindow* window, QObject* parent = nullptr);

    // Prepares the window for the logger of the device image on the port; false when the
    // catalogue does not accept its model (the window is then not shown).
    bool initialize(const QString& port, ConstByteView deviceImage);
    // Shows the window (modeless).
    void show();
    bool prepared() const { return prepared_; }
    ReadingsWindow* window() const { return window_; }

protected:
    bool event(QEvent* event) override;

private:
    ReadingsWindow* window_;
    bool prepared_ = false;
};

} // namespace qz
