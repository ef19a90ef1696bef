#pragma once

// What the tests that drive the component's windows share: a demo account on
// one engine, and typing into a control key by key as a user does.

#include "data/AccountSetup.h"
#include "data/ModuleState.h"
#include "support/TestDatabases.h"

#include <QString>
#include <QTest>
#include <QWidget>
#include <memory>
#include <ostream>

// Readable QStrings in test failure messages.
inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace testsupport {
using namespace depotbase;

// Makes `db` a fresh database on the engine holding the demo account and
// returns a connection to it; the full version is in use.
inline dbkit::DbLoginPtr openDemoAccount(TestEngine engine, std::unique_ptr<TempDatabase> &db)
{
    db = std::make_unique<TempDatabase>(engine);
    dbkit::DbLoginPtr login = db->connect();
    CreateAccountSchema(*login, true);
    blnBasicVersion = false;
    return login;
}

// Types text into a widget key by key. Characters outside ASCII (Chinese) go
// as key events that carry only their text, as an input method sends them.
inline void typeText(QWidget *widget, const QString &text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar ch = text.at(i);
        // A character beyond the Basic Multilingual Plane is one key: both
        // halves of its surrogate pair go in one event.
        const qsizetype units = ch.isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        if (ch.unicode() < 0x80)
            QTest::keyClick(widget, ch.toLatin1());
        else
            QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, text.mid(i, units),
                                Qt::NoModifier);
        i += units - 1;
    }
}

} // namespace testsupport
