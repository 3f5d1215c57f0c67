#pragma once
// The pictures the host shows for a module in its module bar, by the image id the module
// registers with.
#include <QIcon>
#include <QImage>

// The icon for `imageId`: a note pad for the memo module's image (ModuleProtocol::MEMO_IMAGE_ID),
// a plain tile with the number for ids the host does not know.
QIcon ModuleImage(int imageId);

// The picture for `imageId` drawn at `size` x `size` pixels (the icons above, the program's icon).
QImage ModuleImageAt(int imageId, int size);
