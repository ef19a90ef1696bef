#pragma once

#include <QAbstractItemView>
#include <QElapsedTimer>
#include <QModelIndex>
#include <QString>
#include <Qt>

namespace controls {

// The roles an entry of a code-and-name list answers. An entry without a
// code is found by the start of its text.
constexpr int CodeRole = Qt::UserRole + 40;
constexpr int NameRole = Qt::UserRole + 41;

// Type-ahead over a list or tree of coded entries: what the user types finds
// the next entry whose code starts with it, or else whose name holds it, so
// an operator is found by "00" as well as by "张". Keys typed in quick
// succession add up to one search, as in any list.
class TypeAhead {
public:
    // Adds `typed` to the search and returns the entry found, from `current`
    // on (after it, for a search just begun) and round again; an invalid
    // index when nothing matches.
    QModelIndex find(const QAbstractItemModel &model, const QModelIndex &current,
                     const QString &typed);
    const QString &text() const { return m_text; }

private:
    QString m_text;
    QElapsedTimer m_sinceLastKey;
};

// An item view (a list, a tree) with the type-ahead above in place of the
// view's own, which only matches the start of an entry's text.
template <class View>
class TypeAheadView : public View {
public:
    using View::View;

    void keyboardSearch(const QString &typed) override
    {
        if (!this->model())
            return;
        const QModelIndex found = m_typeAhead.find(*this->model(), this->currentIndex(), typed);
        if (found.isValid()) {
            this->setCurrentIndex(found);
            this->scrollTo(found);
        }
    }

private:
    TypeAhead m_typeAhead;
};

} // namespace controls
