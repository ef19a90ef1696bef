#include "GridDropDown.h"

void GridDropDown::AddItem(const QString &text, const QString &name)
{
    m_items.append(text);
    m_names.append(name);
}

void GridDropDown::Clear()
{
    m_items.clear();
    m_names.clear();
    m_index = -1;
}

QString GridDropDown::List(int index) const
{
    return index >= 0 && index < m_items.size() ? m_items.at(index) : QString();
}

void GridDropDown::setListIndex(int index)
{
    m_index = index >= 0 && index < m_items.size() ? index : -1;
}

QString GridDropDown::ItemName(int index) const
{
    return index >= 0 && index < m_names.size() ? m_names.at(index) : QString();
}
