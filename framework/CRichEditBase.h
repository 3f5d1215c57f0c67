#pragma once
// The framework's rich-edit control under its other name.
#include "CRichEditCtrl.h"

using CRichEditBase = CRichEditCtrl;
