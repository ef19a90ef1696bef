#pragma once

#include <QDialog>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <map>
#include <memory>
#include <vector>

class QLineEdit;
class QTableView;
class QStandardItemModel;
class QWidget;

namespace controls {
class RefFilterModel;
}
namespace dbkit {
class DbDataSet;
}

// The lookup window over a data set: column 0 is the code, column 1 the
// name, further columns are shown as well. The user narrows the rows by
// typing (code or name, case ignored) and chooses one with Enter or a double
// click; Esc cancels. After a choice the data set handed in stands on the
// chosen record; after a cancel it stands where it stood before.
//
// The window is a QDialog named "RefDialog" with a search box "txtSearch"
// and a table "tblRef", shown through the modal seam.
class RefDialog : public QObject {
    Q_OBJECT
public:
    explicit RefDialog(QWidget *parent = nullptr);
    ~RefDialog() override;

    std::shared_ptr<dbkit::DbDataSet> RefData() const { return m_data; }
    void setRefData(std::shared_ptr<dbkit::DbDataSet> data);
    QString RefCaption() const { return m_caption; }
    void setRefCaption(const QString &caption) { m_caption = caption; }
    QString RefColumnTitle(int col) const;
    void setRefColumnTitle(int col, const QString &title);
    // Widths in twips; columns without one get a default width.
    int RefColumnWidth(int col) const;
    void setRefColumnWidth(int col, int twips);
    // Kept for the callers; they do not change how the window works.
    int RefOption1() const { return m_options[0]; }
    void setRefOption1(int value) { m_options[0] = value; }
    int RefOption2() const { return m_options[1]; }
    void setRefOption2(int value) { m_options[1] = value; }
    int RefOption3() const { return m_options[2]; }
    void setRefOption3(int value) { m_options[2] = value; }

    // Reads the data set's rows into the window (RefShow does it when it
    // has not been done since the last showing).
    void RefPrepare();
    // Shows the window modally; then RefChosen tells whether a row was chosen.
    void RefShow();
    bool RefChosen() const { return m_chosen; }

    // The window, once prepared (for tests and callers that want to style it).
    QDialog *window() const { return m_window; }

private:
    void buildWindow();
    void applyColumns();
    void search(const QString &text);
    void moveCurrent(int key);
    void choose();
    bool eventFilter(QObject *watched, QEvent *event) override;

    QWidget *m_parent = nullptr;
    std::shared_ptr<dbkit::DbDataSet> m_data;
    QString m_caption;
    std::map<int, QString> m_titles;
    std::map<int, int> m_widths;
    int m_options[3] = {0, 0, 0};
    bool m_prepared = false;
    bool m_chosen = false;
    int m_chosenRecord = -1;
    int m_fieldCount = 0;

    // Owned here, but also a child of the parent window, which may go first.
    QPointer<QDialog> m_window;
    QLineEdit *m_search = nullptr;
    QTableView *m_table = nullptr;
    QStandardItemModel *m_rows = nullptr;
    controls::RefFilterModel *m_filter = nullptr;
};
