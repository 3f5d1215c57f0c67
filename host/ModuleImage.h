#pragma once
// The pictures the host shows for a module in its module bar, by the image id the module
// registers with.
#include <QIcon>

constexpr int MEMO_IMAGE_ID = 128;

// The icon for `imageId`: a note pad for 128, a plain tile with the number for ids the host does
// not know.
QIcon ModuleImage(int imageId);
