// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/Viewicons.h"

#include <QHash>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace VXViewIcon {

int ForObject(int icon, bool topDown)
{
    return topDown || icon == Fixed ? icon : icon + 1;
}

namespace {

struct Glyph
{
    QColor Colour;
    QString Letters;
    enum Shape { Badge, Page, Lines } Form = Badge;
};

Glyph GlyphOf(int icon, const QString &objectType)
{
    const QString type = objectType.toUpper();
    switch (icon) {
    case System:
        return {QColor(0x1f, 0x3a, 0x93), QStringLiteral("S")};
    case Computer:
        return {QColor(0x55, 0x60, 0x6e), QStringLiteral("C")};
    case Application:
        return {QColor(0xd3, 0x6b, 0x00), QStringLiteral("A")};
    case CommonSource:
        return {QColor(0x9e, 0x9e, 0x9e), QStringLiteral("*")};
    case File:
        return {QColor(0x60, 0x60, 0x60), QString(), Glyph::Page};
    case Package:
        return {QColor(0x8d, 0x5a, 0x2b), QStringLiteral("Pk")};
    case Form:
        return {QColor(0x7b, 0x1f, 0xa2), QStringLiteral("M")};
    case Program:
        if (type.startsWith(QLatin1String("JCL_JOB")))
            return {QColor(0x2e, 0x7d, 0x32), QStringLiteral("J")};
        if (type.startsWith(QLatin1String("JCL")))
            return {QColor(0x55, 0x8b, 0x2f), QStringLiteral("Pr")};
        if (type == QLatin1String("MAPSET"))
            return {QColor(0x7b, 0x1f, 0xa2), QStringLiteral("MS")};
        return {QColor(0x15, 0x65, 0xc0), QStringLiteral("P")};
    case Table:
        return {QColor(0x00, 0x89, 0x5a), QStringLiteral("T")};
    case View:
        return {QColor(0x00, 0x89, 0x5a), QStringLiteral("V")};
    case DataWindow:
        return {QColor(0x00, 0x89, 0x5a), QStringLiteral("D")};
    case Row:
        return {QColor(0x60, 0x60, 0x60), QString(), Glyph::Lines};
    case Word:
        return {QColor(0x75, 0x75, 0x75), QStringLiteral("w")};
    case Entry:
    case EntryUp:
        return {QColor(0x00, 0x83, 0x8f), QStringLiteral("E")};
    case Variable:
        return {QColor(0x37, 0x47, 0x4f), QStringLiteral("v")};
    case PersistentVariable:
        return {QColor(0x2e, 0x9d, 0x3a), QStringLiteral("v")};
    case NestedObject:
        return {QColor(0x3f, 0x51, 0xb5), QStringLiteral("N")};
    case CopyMember:
        return {QColor(0x00, 0x96, 0x88), QStringLiteral("Cp")};
    case 39:
        return {QColor(0x5d, 0x40, 0x37), QStringLiteral("[]")};
    case 41:
        return {QColor(0x5d, 0x40, 0x37), QStringLiteral("R")};
    default:
        return {QColor(0x90, 0x90, 0x90), QStringLiteral("?")};
    }
}

QPixmap Draw(const Glyph &glyph, bool bottomUp)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    switch (glyph.Form) {
    case Glyph::Page: {
        QPainterPath page;
        page.moveTo(3, 1);
        page.lineTo(10, 1);
        page.lineTo(13, 4);
        page.lineTo(13, 15);
        page.lineTo(3, 15);
        page.closeSubpath();
        painter.fillPath(page, Qt::white);
        painter.setPen(glyph.Colour);
        painter.drawPath(page);
        painter.drawLine(10, 1, 10, 4);
        painter.drawLine(10, 4, 13, 4);
        break;
    }
    case Glyph::Lines:
        painter.setPen(QPen(glyph.Colour, 1.5));
        for (int y : {4, 8, 12})
            painter.drawLine(2, y, y == 8 ? 10 : 14, y);
        break;
    case Glyph::Badge: {
        painter.setPen(Qt::NoPen);
        painter.setBrush(glyph.Colour);
        painter.drawRoundedRect(QRectF(0.5, 0.5, 15, 15), 3, 3);
        QFont font = painter.font();
        font.setBold(true);
        font.setPixelSize(glyph.Letters.size() > 1 ? 8 : 11);
        painter.setFont(font);
        painter.setPen(Qt::white);
        painter.drawText(QRect(0, 0, 16, 16), Qt::AlignCenter, glyph.Letters);
        break;
    }
    }
    if (bottomUp) {
        // BottomUp nodes carry a small upward mark in their corner.
        QPainterPath mark;
        mark.moveTo(13, 10);
        mark.lineTo(16, 15.5);
        mark.lineTo(10, 15.5);
        mark.closeSubpath();
        painter.setPen(QPen(Qt::white, 1));
        painter.setBrush(QColor(0xff, 0xb3, 0x00));
        painter.drawPath(mark);
    }
    return pixmap;
}

} // namespace

QIcon Picture(int icon, const QString &objectType)
{
    static QHash<QString, QIcon> cache;
    const QString key = QString::number(icon) + QLatin1Char(':') + objectType;
    if (const auto known = cache.constFind(key); known != cache.cend())
        return *known;
    // An odd number after a known even one (and 32 for entries) is the BottomUp picture.
    const bool upEntry = icon == EntryUp;
    Glyph glyph = GlyphOf(icon, objectType);
    bool bottomUp = upEntry;
    if (!upEntry && glyph.Letters == QLatin1String("?") && glyph.Form == Glyph::Badge) {
        const Glyph below = GlyphOf(icon - 1, objectType);
        if (below.Letters != QLatin1String("?") || below.Form != Glyph::Badge) {
            glyph = below;
            bottomUp = true;
        }
    }
    const QIcon picture(Draw(glyph, bottomUp));
    cache.insert(key, picture);
    return picture;
}

} // namespace VXViewIcon
