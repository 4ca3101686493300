#pragma once
// Each configuration window names the connected logger's model in its caption.
#include "model/byte_view.h"
#include "model/device_catalog.h"

#include <QString>

class QWidget;

namespace qz {

// Looks the image's device code up in the catalogue, sets the window's caption to
// baseCaption with the model's name after its first word, and gives the model.
LoggerModel captionWithModel(QWidget* window, const QString& baseCaption, const ProgramFolder& folder,
                             ConstByteView deviceImage);

} // namespace qz
