#include "GridDropDown.h"

void GridDropDown::AddItem(const QString &text)
{
    m_items.append(text);
}

void GridDropDown::Clear()
{
    m_items.clear();
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
