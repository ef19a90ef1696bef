#include "AuthorityTree.h"

#include "services/RightsQueries.h"
#include "suite/controls/TypeAhead.h"

#include <QTreeWidget>

namespace authoritytree {

namespace {

constexpr int KeyRole = Qt::UserRole;

QTreeWidgetItem *addRoot(QTreeWidget &tree, const QString &key, const QString &text,
                         const QIcon &icon)
{
    auto *root = new QTreeWidgetItem(&tree, {text});
    root->setData(0, KeyRole, key);
    root->setIcon(0, icon);
    return root;
}

// An operator or warehouse node. It answers its text, key and icon itself
// instead of keeping a value per role, so thousands of nodes are made
// without an allocation for each role.
class CodeNode final : public QTreeWidgetItem {
public:
    CodeNode(const QString &code, const QString &name, QString key, const QIcon &icon)
        : QTreeWidgetItem(UserType), m_text(QLatin1Char('(') + code + QLatin1Char(')') + name),
          m_key(std::move(key)), m_codeLength(int(code.size())), m_icon(icon)
    {
    }

    QVariant data(int column, int role) const override
    {
        if (column != 0)
            return QTreeWidgetItem::data(column, role);
        switch (role) {
        case Qt::DisplayRole:
        case Qt::EditRole:
            return m_text;
        case Qt::DecorationRole:
            return m_icon;
        case KeyRole:
            return m_key;
        case controls::CodeRole:
            return m_text.mid(1, m_codeLength);
        case controls::NameRole:
            return m_text.mid(m_codeLength + 2);
        default:
            return QTreeWidgetItem::data(column, role);
        }
    }

private:
    QString m_text;
    QString m_key;
    int m_codeLength;
    QIcon m_icon;
};

void addChildren(QTreeWidgetItem &root, const std::vector<services::CodeAndName> &pairs,
                 const QIcon &icon)
{
    QList<QTreeWidgetItem *> children;
    children.reserve(qsizetype(pairs.size()));
    const QString prefix = keyOf(root);
    for (const services::CodeAndName &pair : pairs)
        children.push_back(new CodeNode(pair.code, pair.name, prefix + pair.code, icon));
    root.addChildren(children);
    root.setExpanded(true);
}

} // namespace

void fill(QTreeWidget &tree, const std::vector<services::CodeAndName> &operators,
          const std::vector<services::CodeAndName> &warehouses, const QList<QIcon> &images)
{
    tree.clear();
    QTreeWidgetItem *operatorRoot =
        addRoot(tree, QStringLiteral("c"), QStringLiteral("操作员"), images.at(1));
    QTreeWidgetItem *warehouseRoot =
        addRoot(tree, QStringLiteral("s"), QStringLiteral("仓库"), images.at(1));
    addChildren(*operatorRoot, operators, images.at(0));
    addChildren(*warehouseRoot, warehouses, images.at(0));
}

QString keyOf(const QTreeWidgetItem &node)
{
    return node.data(0, KeyRole).toString();
}

services::NodeKind kindOfKey(const QString &key)
{
    return key.startsWith('c') ? services::NodeKind::Operator : services::NodeKind::Warehouse;
}

QTreeWidgetItem *find(const QTreeWidget &tree, const QString &key)
{
    for (int i = 0; i < tree.topLevelItemCount(); ++i) {
        QTreeWidgetItem *root = tree.topLevelItem(i);
        if (keyOf(*root) == key)
            return root;
        if (!key.startsWith(keyOf(*root)))
            continue;
        for (int c = 0; c < root->childCount(); ++c)
            if (keyOf(*root->child(c)) == key)
                return root->child(c);
    }
    return nullptr;
}

QString nameOf(const QTreeWidgetItem &node, const QString &code)
{
    const QString text = node.text(0);
    return text.startsWith(QLatin1Char('(') + code + QLatin1Char(')'))
               ? text.mid(code.size() + 2)
               : text.mid(text.indexOf(QLatin1Char(')')) + 1);
}

} // namespace authoritytree
