#pragma once

#include <QString>

namespace depotbase {

// The component's numbered message catalogue (Chinese captions, titles and
// messages), read by number. An id the catalogue does not hold gives "".
QString LoadResString(int id);

// The catalogue's ids by what their texts say, so callers read
// LoadResString(text::InvalidDepartment) rather than a bare number.
namespace text {
inline constexpr int ConfirmDelete = 4;
inline constexpr int QuestionEnd = 5;
inline constexpr int NothingSelected = 6;
inline constexpr int PleaseChoose = 7;
inline constexpr int Delete = 9;
inline constexpr int Query = 11;
inline constexpr int Filter = 12;
inline constexpr int Print = 13;
inline constexpr int Help = 14;
inline constexpr int Exit = 15;
inline constexpr int MessageCaption = 17;
inline constexpr int MustNotBeEmpty = 18;
inline constexpr int TableHeldExclusively = 23;
inline constexpr int Yes = 25;
inline constexpr int No = 26;
inline constexpr int Warehouse = 51;
inline constexpr int WarehouseCode = 52;
inline constexpr int WarehouseName = 53;
inline constexpr int Department = 54;
inline constexpr int WarehouseAddress = 55;
inline constexpr int Phone = 56;
inline constexpr int Manager = 57;
inline constexpr int ValuationStyle = 58;
inline constexpr int PositionManaged = 59;
inline constexpr int Quota = 60;
inline constexpr int Remark = 61;
inline constexpr int WarehouseList = 62;
inline constexpr int Add = 63;
inline constexpr int Save = 64;
inline constexpr int PlannedPrice = 65;
inline constexpr int MonthlyAverage = 66;
inline constexpr int MovingAverage = 67;
inline constexpr int FirstInFirstOut = 68;
inline constexpr int LastInFirstOut = 69;
inline constexpr int SpecificIdentification = 70;
inline constexpr int SellingPrice = 71;
inline constexpr int BatchPrice = 72;
inline constexpr int WarehouseCard = 73;
inline constexpr int Modify = 74;
inline constexpr int DepartmentReference = 75;
inline constexpr int DepartmentCode = 76;
inline constexpr int DepartmentName = 77;
inline constexpr int LockedByOther = 84;
inline constexpr int ValueTooLong = 85;
inline constexpr int ThisOne = 104;
inline constexpr int AlreadyExists = 105;
inline constexpr int UsedElsewhere = 106;
inline constexpr int DeletedByOther = 107;
inline constexpr int Refresh = 117;
inline constexpr int FilterConditions = 118;
inline constexpr int FindConditions = 119;
inline constexpr int PossibleValues = 120;
inline constexpr int NoMatchingRecord = 123;
inline constexpr int ByDepartment = 124;
inline constexpr int Industry = 125;
inline constexpr int ConfirmDeleteSelection = 128;
inline constexpr int InvalidDepartment = 129;
inline constexpr int UnexpectedError = 132;
inline constexpr int NoDefaultPrinter = 133;
inline constexpr int Preview = 135;
inline constexpr int Output = 136;
inline constexpr int Setup = 137;
inline constexpr int PrintSetup = 138;
inline constexpr int Rights = 139;
inline constexpr int WarehouseRights = 140;
inline constexpr int EditRights = 141;
inline constexpr int Locate = 142;
inline constexpr int LocateConditions = 143;
// What this component adds: the change history (修改记录).
inline constexpr int HistoryCaption = 1001;
} // namespace text

} // namespace depotbase
