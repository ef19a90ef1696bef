#include "TypeAhead.h"

#include <QApplication>
#include <vector>

namespace controls {

namespace {

// Every entry of the model in the order a user reads it: each parent before
// its children.
void collect(const QAbstractItemModel &model, const QModelIndex &parent,
             std::vector<QModelIndex> &out)
{
    const int rows = model.rowCount(parent);
    for (int r = 0; r < rows; ++r) {
        const QModelIndex index = model.index(r, 0, parent);
        out.push_back(index);
        if (model.hasChildren(index))
            collect(model, index, out);
    }
}

bool codeMatches(const QModelIndex &index, const QString &text)
{
    const QVariant code = index.data(CodeRole);
    const QString subject = code.isValid() ? code.toString() : index.data().toString();
    return subject.startsWith(text, Qt::CaseInsensitive);
}

bool nameMatches(const QModelIndex &index, const QString &text)
{
    return index.data(NameRole).toString().contains(text, Qt::CaseInsensitive);
}

} // namespace

QModelIndex TypeAhead::find(const QAbstractItemModel &model, const QModelIndex &current,
                            const QString &typed)
{
    if (typed.isEmpty())
        return {};
    const bool goesOn = m_sinceLastKey.isValid()
                        && m_sinceLastKey.elapsed() < QApplication::keyboardInputInterval();
    m_sinceLastKey.start();
    m_text = goesOn ? m_text + typed : typed;

    std::vector<QModelIndex> entries;
    collect(model, QModelIndex(), entries);
    if (entries.empty())
        return {};
    size_t start = 0;
    const QModelIndex here = current.sibling(current.row(), 0);
    for (size_t i = 0; i < entries.size(); ++i) {
        if (entries[i] == here) {
            // A new search looks past the entry already found; a longer one
            // may still mean it.
            start = goesOn ? i : i + 1;
            break;
        }
    }
    for (const auto matches : {&codeMatches, &nameMatches}) {
        for (size_t step = 0; step < entries.size(); ++step) {
            const QModelIndex &index = entries[(start + step) % entries.size()];
            if (matches(index, m_text))
                return index;
        }
    }
    return {};
}

} // namespace controls
