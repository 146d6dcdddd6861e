// SPDX-License-Identifier: GPL-3.0-or-later
// IBM OPC / Tivoli Workload Scheduler batch loader statements, which define the
// applications of the schedule:
//   - ADSTART ADID(x) begins the application x, an object typed "OPC_APPLICATION";
//   - ADOP ... OPNO(n) ... JOBN(j) is an operation, an entry named by its number, that runs
//     the job j (a call of the JCL job of that name);
//   - ADDEP PREOPNO(n) makes the operation depend on operation n of the same application,
//     or of the application PREADID(x) names;
//   - in reports of the plan, a name that starts in column 31 heads an operation.
#pragma once

#include "parsing/Languagedefinitionsinterface.h"

class TVXLangDef_IBMOPC : public TVXLanguageDefinitionsInterface
{
    Q_OBJECT
public:
    TVXLangDef_IBMOPC(QObject *owner, const QString &folder);

    bool IsWordBreak(const QString &row, int position, int &length, TWordType &wordType,
                     QChar &replacement) override;
    int FindWordBreak(QString &row, int from, int &length, TWordType &wordType) override;
    bool GetWordType(const QString &text, TWordType &wordType) override;
    void CheckIdentifier(int index) override;
    void OnBeforeSaveToDB(bool final, bool objectClosed) override;
};
