#pragma once
// The kit's rich-edit base under its other name.
#include "CRichEditCtrl.h"

using CRichEditBase = CRichEditCtrl;
