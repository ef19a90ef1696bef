#include "RightRules.h"

namespace services::rightrules {

QString duplicateMessage()
{
    return QStringLiteral("权限设置重复!请重试");
}

QString overlapMessage()
{
    const QChar cr(13);
    return QStringLiteral("权限设置重复，请重试！") + cr
           + QStringLiteral("库管员+仓库+存货分类|存货必须唯一，而且库管员+仓库+存货不能包含在") + cr
           + QStringLiteral("库管员+仓库+存货分类中，即对一个库管员同一个仓库，存货和存货分类") + cr
           + QStringLiteral("不能有交叉。");
}

QString wholeBesideNarrowedMessage()
{
    return QStringLiteral("该操作员在该仓库已有按存货分类或存货设置的权限，"
                          "整个仓库的权限不能与之并存。") + QChar(13)
           + QStringLiteral("请把本行缩小到一个存货分类或存货，或删除本行。");
}

QString narrowingField(const NarrowedRight &right)
{
    if (!right.classCode.isEmpty())
        return QStringLiteral("cInvCCode");
    if (!right.itemCode.isEmpty())
        return QStringLiteral("cInvCode");
    return QStringLiteral("cWhCode");
}

bool classWithin(const QString &cls, const QString &outer)
{
    return !cls.isEmpty() && !outer.isEmpty() && cls.startsWith(outer);
}

bool sameRight(const NarrowedRight &a, const NarrowedRight &b)
{
    return a.classCode == b.classCode && a.itemCode == b.itemCode;
}

bool crosses(const NarrowedRight &candidate, const NarrowedRight &stored)
{
    if (candidate.wholeWarehouse())
        return true;
    if (stored.wholeWarehouse())
        return false;
    if (!candidate.itemCode.isEmpty())
        return classWithin(candidate.itemClass, stored.classCode);
    if (!stored.itemCode.isEmpty())
        return classWithin(stored.itemClass, candidate.classCode);
    return classWithin(candidate.classCode, stored.classCode)
           || classWithin(stored.classCode, candidate.classCode);
}

ServiceResult check(const NarrowedRight &candidate, const std::vector<NarrowedRight> &stored)
{
    const QString field = narrowingField(candidate);
    for (const NarrowedRight &other : stored) {
        if (sameRight(candidate, other))
            return ServiceResult::refused(Refusal::Duplicate, duplicateMessage(), field);
    }
    for (const NarrowedRight &other : stored) {
        if (!crosses(candidate, other))
            continue;
        if (candidate.wholeWarehouse())
            return ServiceResult::refused(Refusal::WholeBesideNarrowed,
                                          wholeBesideNarrowedMessage(), field);
        return ServiceResult::refused(Refusal::Overlap, overlapMessage(), field);
    }
    return ServiceResult::ok();
}

bool listedOnce(const std::vector<ListedRight> &listed, size_t index)
{
    if (index >= listed.size())
        return true;
    for (size_t i = 0; i < listed.size(); ++i) {
        if (i != index && listed[i] == listed[index])
            return false;
    }
    return true;
}

} // namespace services::rightrules
