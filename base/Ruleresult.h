// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The outcome of a request to a rules class: Error refuses it and nothing changed;
// Information is shown after it was carried out; Field names the field the message is
// about, so a dialog can put the focus there.
struct TVXRuleResult
{
    QString Error;
    QString Information;
    QString Field;

    bool Ok() const { return Error.isEmpty(); }
};
