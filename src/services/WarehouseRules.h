#pragma once

#include "ServiceResult.h"
#include "WarehouseRecord.h"

#include <QString>
#include <QStringList>

// The rules of a warehouse record that need no database, and the texts with
// which the windows tell what the warehouse service decided.
namespace services::warehouse_rules {

// "该" + "仓库编码" + the catalogue text `endingId` (105 exists, 106 in use,
// 107 deleted by another operator).
QString aboutCode(int endingId);

// Another operator holds the record lock of the warehouse.
QString lockedText();
// The lock of the warehouse being edited is no longer this operator's.
QString lockTakenText();
// The warehouse to delete is no longer stored.
QString deletedBeforeDeleteText();
// The warehouse to edit is no longer stored.
QString deletedBeforeEditText();
// The warehouse to save was changed by another operator since the card read it.
QString changedMeanwhileText();
// The warehouse still has storage positions.
QString hasPositionsText();
// A warehouse in use was stored without its code and valuation style.
QString storedInUseText();
// Position management cannot be cleared while the warehouse has positions.
QString positionsKeptText();

// The question before a save by department: the department (as its name)
// must keep `style`, and how many other warehouses the save sets to it.
QString departmentStyleQuestion(const QString &depName, const QString &style, int others);

// The question a save by department asks before it stores, over the
// department's style `depStyle` and the `others` warehouses it sets to it:
// "" when the department sets no style or `chosen` is its style already.
QString styleQuestion(const QString &depName, const QString &depStyle, int others,
                      const QString &chosen);

// True for the kit's related-records number and the one other servers give for it.
bool isRelatedRecords(int errorNumber);

// The message of a save the database refused, by its error number; any other
// failure is told with the engine's own text. A busy database (3261, 3262)
// is told as busy, by the kit's text, never as another operator's lock.
QString saveErrorText(int errorNumber, const QString &engineText);
// The message of a delete the database refused, busy told as for a save; the
// engine's text for numbers without a message of their own.
QString deleteErrorText(int errorNumber, const QString &engineText);

// The first empty required field (code, name, valuation style; blanks count
// as empty), refused with "<field>不能为空，请输入！" and the field's column.
ServiceResult checkRequired(const WarehouseRecord &record);

// The department of a warehouse to store: `depName` is the department box's
// text and `depCode` the leaf department it was resolved to ("" when none).
// A text that names no leaf department is refused ("非法的所属部门！"), never
// stored as no department; an empty box means no department, which
// by-department accounting refuses ("所属部门不能为空，请输入！").
ServiceResult checkDepartment(const WarehouseRecord &record, bool byDepartment);

// A fund quota typed on the card: "" is 0; it must hold a digit; when the
// column keeps a double (`doubleColumn`), at most 15 significant digits, so
// the number stored is the number typed.
ServiceResult checkQuota(const QString &quota, bool doubleColumn);

// The valuation styles a warehouse may be given, in the order offered: the
// basic version offers the two averages only; otherwise five common styles
// and the planned-price (industrial) or sales-price style.
QStringList offeredStyles(bool basicVersion, bool industrial);

// True when a typed fund quota is the number stored ("12" and "12.0000"
// are one number; "" is Null and no number).
bool sameQuota(const QString &stored, const QString &typed);

// The fund quota as the card shows it: "0" for 0, else at least one and at
// most four decimals; "" for an empty text.
QString formatQuota(const QString &stored);

} // namespace services::warehouse_rules
