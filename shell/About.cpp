// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/About.h"

#include "base/Settings.h"

#include <QBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

TVXAbout::TVXAbout(QWidget *owner, TVXBaseFunctions *service)
    : TVXToolDialog(owner, service)
{
    setWindowTitle(QStringLiteral("About Velunor"));
    auto *layout = new QVBoxLayout(this);
    auto *name = new QLabel(QStringLiteral("<h2>Velunor</h2>"));
    auto *version = new QLabel(QStringLiteral("Version ") + Version());
    version->setObjectName(QStringLiteral("lbVersion"));
    mmoAbout = new QPlainTextEdit;
    mmoAbout->setReadOnly(true);
    mmoAbout->setPlainText(
            QStringLiteral("Velunor reads the sources of legacy business applications into a "
                           "repository and shows who calls, includes, inherits or reads what.\n\n"
                           "Settings folder: ")
            + VXSettings::SettingsFolder() + QStringLiteral("\nPackage folder: ")
            + VXSettings::PackageFolder() + QStringLiteral("\nQt ") + QLatin1String(qVersion()));
    auto *close = new QPushButton(QStringLiteral("Close"));
    close->setDefault(true);
    layout->addWidget(name);
    layout->addWidget(version);
    layout->addWidget(mmoAbout, 1);
    layout->addWidget(close, 0, Qt::AlignRight);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    resize(460, 300);
}

QString TVXAbout::Version()
{
    return QStringLiteral(VELUNOR_VERSION_TEXT);
}
