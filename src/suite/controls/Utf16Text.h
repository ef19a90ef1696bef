#pragma once

#include <QAnyStringView>
#include <QString>
#include <type_traits>

namespace controls {

// A kept text as UTF-16, for what compares or hashes QStrings: UTF-16
// characters are viewed where they are, others widened into `scratch`,
// whose room serves the next text too. Valid until `scratch` changes.
inline const QString &asUtf16(QAnyStringView text, QString &scratch)
{
    text.visit([&scratch](auto chars) {
        using Chars = decltype(chars);
        if constexpr (std::is_same_v<Chars, QStringView>) {
            scratch = QString::fromRawData(chars.data(), chars.size());
        } else if constexpr (std::is_same_v<Chars, QLatin1StringView>) {
            if (!scratch.isDetached())
                scratch = QString();
            scratch.resize(chars.size());
            QChar *out = scratch.data();
            for (const char c : chars)
                *out++ = QLatin1Char(c);
        } else {
            scratch = chars.toString();
        }
    });
    return scratch;
}

} // namespace controls
