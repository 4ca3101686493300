#include "config/ui/model_caption.h"

#include "model/image_reader.h"
#include "model/values.h"

#include <QWidget>

namespace qz {

LoggerModel captionWithModel(QWidget* window, const QString& baseCaption, const ProgramFolder& folder,
                             ConstByteView image)
{
    const LoggerModel model = DeviceCatalog(folder).lookUp(ImageReader::deviceImage(image).deviceCode());
    window->setWindowTitle(insertModelInCaption(model.description, baseCaption));
    return model;
}

} // namespace qz
