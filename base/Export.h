// SPDX-License-Identifier: GPL-3.0-or-later
// Symbol visibility of the core package vxlib0100.
#pragma once

#include <QtCore/qglobal.h>

#if defined(VXCORE_LIBRARY)
#define VXCORE_EXPORT Q_DECL_EXPORT
#else
#define VXCORE_EXPORT Q_DECL_IMPORT
#endif
