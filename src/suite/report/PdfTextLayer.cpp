#include "suite/report/PdfTextLayer.h"

#include "suite/report/PdfEditor.h"

#include <QFile>
#include <QRegularExpression>
#include <QSaveFile>
#include <QtEndian>

#include <algorithm>
#include <iterator>
#include <set>
#include <utility>
#include <vector>

namespace report {

namespace {

// Each CJK radical with the unified ideographs a font may draw with its
// glyph, sorted by radical.
constexpr std::pair<char16_t, char32_t> radicalIdeographs[] = {
#include "suite/report/RadicalIdeographs.inc"
};

bool isRadical(char32_t c)
{
    return c >= 0x2E80 && c <= 0x2FDF;
}

// The ideograph a glyph named after a radical was printed for: the one of the
// radical's ideographs that was printed and that no other glyph is named
// after; 0 when none or more than one is.
char32_t printedIdeograph(char32_t radical, const std::set<char32_t> &printed,
                          const std::set<char32_t> &named)
{
    const auto [first, last] = std::equal_range(
        std::begin(radicalIdeographs), std::end(radicalIdeographs),
        std::pair<char16_t, char32_t>(char16_t(radical), 0),
        [](const auto &a, const auto &b) { return a.first < b.first; });
    char32_t found = 0;
    for (auto it = first; it != last; ++it) {
        if (!printed.count(it->second) || named.count(it->second))
            continue;
        if (found != 0)
            return 0;
        found = it->second;
    }
    return found;
}

// One glyph of a ToUnicode CMap: its code as written (hex digits) and its text.
struct GlyphName {
    QString code;
    QString text;
};

QString textOfHex(const QString &hex, bool *ok)
{
    QString text;
    *ok = hex.size() % 4 == 0;
    for (qsizetype i = 0; *ok && i < hex.size(); i += 4)
        text.append(QChar(char16_t(hex.mid(i, 4).toUShort(ok, 16))));
    return text;
}

QString hexOfText(const QString &text)
{
    QString hex;
    for (const QChar unit : text)
        hex += QStringLiteral("%1").arg(unit.unicode(), 4, 16, QLatin1Char('0')).toUpper();
    return hex;
}

QString codeAfter(const QString &code, int step)
{
    return QStringLiteral("%1").arg(code.toUInt(nullptr, 16) + uint(step), int(code.size()), 16,
                                    QLatin1Char('0')).toUpper();
}

// Reads the glyph names of one bfchar or bfrange section.
bool readSection(const QString &kind, const QString &body, std::vector<GlyphName> &names)
{
    static const QRegularExpression token(QStringLiteral("<([0-9A-Fa-f]*)>|\\[|\\]"));
    QStringList tokens;
    for (auto it = token.globalMatch(body); it.hasNext();) {
        const auto match = it.next();
        tokens << (match.captured(0).startsWith('<') ? match.captured(1) : match.captured(0));
    }
    bool ok = true;
    qsizetype i = 0;
    if (kind == QLatin1String("bfchar")) {
        for (; ok && i + 1 < tokens.size(); i += 2)
            names.push_back({tokens[i], textOfHex(tokens[i + 1], &ok)});
        return ok && i == tokens.size();
    }
    while (ok && i + 2 < tokens.size()) {
        const QString low = tokens[i];
        const qint64 count =
            qint64(tokens[i + 1].toUInt(nullptr, 16)) - qint64(low.toUInt(nullptr, 16)) + 1;
        if (count < 1 || count > 0x10000)
            return false;
        if (tokens[i + 2] == QLatin1String("[")) {
            i += 3;
            for (int k = 0; ok && k < int(count); ++k, ++i) {
                if (i >= tokens.size() || tokens[i] == QLatin1String("]"))
                    return false;
                names.push_back({codeAfter(low, k), textOfHex(tokens[i], &ok)});
            }
            if (i >= tokens.size() || tokens[i++] != QLatin1String("]"))
                return false;
        } else {
            // A run of glyphs whose texts go up one by one from the first.
            QString text = textOfHex(tokens[i + 2], &ok);
            if (text.isEmpty())
                return false;
            for (int k = 0; k < int(count); ++k) {
                names.push_back({codeAfter(low, k), text});
                text.back() = QChar(char16_t(text.back().unicode() + 1));
            }
            i += 3;
        }
    }
    return ok && i == tokens.size();
}

// One ToUnicode CMap stream of the file and the glyph names it holds.
struct TextMap {
    qsizetype lengthAt = 0;      // the digits of its /Length
    qsizetype lengthDigits = 0;
    qsizetype dataAt = 0;        // its data, as stored
    qsizetype dataLength = 0;
    bool deflated = false;
    QByteArray cmap;             // its data, inflated
    qsizetype namesFrom = 0;     // the bfchar and bfrange sections in `cmap`
    qsizetype namesTo = 0;
    std::vector<GlyphName> names;
};

bool readNames(TextMap &map)
{
    static const QRegularExpression section(
        QStringLiteral("\\d+\\s+begin(bfchar|bfrange)(.*?)end\\1"),
        QRegularExpression::DotMatchesEverythingOption);
    map.namesFrom = map.namesTo = -1;
    for (auto it = section.globalMatch(QString::fromLatin1(map.cmap)); it.hasNext();) {
        const auto match = it.next();
        if (map.namesFrom < 0)
            map.namesFrom = match.capturedStart();
        map.namesTo = match.capturedEnd();
        if (!readSection(match.captured(1), match.captured(2), map.names))
            return false;
    }
    return map.namesFrom >= 0;
}

// The stream object at `objectAt`, read.
bool readTextMap(const QByteArray &pdf, qsizetype objectAt, TextMap &map)
{
    const qsizetype streamWord = pdf.indexOf("stream", objectAt);
    const qsizetype endObject = pdf.indexOf("endobj", objectAt);
    if (streamWord < 0 || endObject < streamWord)
        return false;
    const QByteArray dictionary = pdf.mid(objectAt, streamWord - objectAt);
    static const QRegularExpression lengthKey(QStringLiteral("/Length\\s+(\\d+)(\\s+\\d+\\s+R)?"));
    const auto length = lengthKey.match(QString::fromLatin1(dictionary));
    if (!length.hasMatch() || length.capturedLength(2) > 0)
        return false;
    map.deflated = dictionary.contains("/FlateDecode");
    if (dictionary.contains("/Filter") && !map.deflated)
        return false;
    map.lengthAt = objectAt + length.capturedStart(1);
    map.lengthDigits = length.capturedLength(1);
    map.dataAt = streamWord + 6;
    if (pdf.mid(map.dataAt, 2) == "\r\n")
        map.dataAt += 2;
    else if (pdf.mid(map.dataAt, 1) == "\n")
        ++map.dataAt;
    else
        return false;
    map.dataLength = length.captured(1).toLongLong();
    if (map.dataAt + map.dataLength > endObject)
        return false;
    map.cmap = pdf.mid(map.dataAt, map.dataLength);
    if (map.deflated) {
        // qUncompress wants the expected size before the zlib data; it grows
        // its buffer when the guess is short.
        const quint32 guess = qToBigEndian(quint32(std::max<qsizetype>(4096, map.dataLength * 8)));
        map.cmap = qUncompress(QByteArray(reinterpret_cast<const char *>(&guess), 4) + map.cmap);
        if (map.cmap.isEmpty())
            return false;
    }
    return readNames(map);
}

// Renames the glyphs of one font named after a radical that were printed for
// an ideograph; true when a name changed. An ideograph another glyph of the
// font is named after has a glyph of its own.
bool renameRadicals(TextMap &map, const std::set<char32_t> &printed)
{
    std::set<char32_t> named;
    for (const GlyphName &name : map.names) {
        const QList<uint> points = name.text.toUcs4();
        if (points.size() == 1)
            named.insert(points.front());
    }
    bool changed = false;
    for (GlyphName &name : map.names) {
        const QList<uint> points = name.text.toUcs4();
        if (points.size() != 1 || !isRadical(points.front()))
            continue;
        if (const char32_t ideograph = printedIdeograph(points.front(), printed, named)) {
            name.text = QString::fromUcs4(&ideograph, 1);
            named.insert(ideograph);
            changed = true;
        }
    }
    return changed;
}

// The stream's data with its names written glyph by glyph.
QByteArray writtenData(const TextMap &map)
{
    QString entries;
    constexpr std::size_t perSection = 100;  // the most a CMap section may hold
    for (std::size_t at = 0; at < map.names.size(); at += perSection) {
        const std::size_t end = std::min(map.names.size(), at + perSection);
        entries += QStringLiteral("%1 beginbfchar\n").arg(end - at);
        for (std::size_t i = at; i < end; ++i) {
            entries += QStringLiteral("<%1> <%2>\n")
                           .arg(map.names[i].code, hexOfText(map.names[i].text));
        }
        entries += QStringLiteral("endbfchar\n");
    }
    const QByteArray cmap =
        map.cmap.left(map.namesFrom) + entries.toLatin1() + map.cmap.mid(map.namesTo);
    return map.deflated ? qCompress(cmap).mid(4) : cmap;
}

} // namespace

bool repairPdfTextLayer(QByteArray &pdf, const QString &printedText, QString *error)
{
    const auto failed = [error](const QString &why) {
        if (error)
            *error = why;
        return false;
    };
    PdfEditor editor;
    if (!editor.read(pdf))
        return failed(QStringLiteral("no cross-reference table of the expected form"));

    std::set<qsizetype> objects;
    static const QRegularExpression reference(QStringLiteral("/ToUnicode\\s+(\\d+)\\s+0\\s+R"));
    for (auto it = reference.globalMatch(QString::fromLatin1(pdf)); it.hasNext();)
        objects.insert(it.next().captured(1).toLongLong());
    std::vector<TextMap> maps;
    for (const qsizetype object : objects) {
        const qsizetype at = editor.objectAt(object);
        if (at < 0)
            return failed(QStringLiteral("text map %1 is not where the table says").arg(object));
        maps.emplace_back();
        if (!readTextMap(pdf, at, maps.back()))
            return failed(QStringLiteral("text map %1 cannot be read").arg(object));
    }

    std::set<char32_t> printed;
    for (const uint c : printedText.toUcs4())
        printed.insert(c);
    for (TextMap &map : maps) {
        if (!renameRadicals(map, printed))
            continue;
        const QByteArray data = writtenData(map);
        editor.replace(map.lengthAt, map.lengthDigits, QByteArray::number(data.size()));
        editor.replace(map.dataAt, map.dataLength, data);
    }
    if (editor.edited())
        pdf = editor.written();
    return true;
}

bool repairPdfTextLayerFile(const QString &path, const QString &printedText, QString *error)
{
    QFile in(path);
    if (!in.open(QIODevice::ReadOnly)) {
        if (error)
            *error = in.errorString();
        return false;
    }
    const QByteArray written = in.readAll();
    in.close();
    QByteArray pdf = written;
    if (!repairPdfTextLayer(pdf, printedText, error))
        return false;
    if (pdf == written)
        return true;
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly) || out.write(pdf) != pdf.size() || !out.commit()) {
        if (error)
            *error = out.errorString();
        return false;
    }
    return true;
}

} // namespace report
