#pragma once

// The entry grid of the charging, request, assessment and package screens: a
// grid whose current cell is edited in a floating box, txtEntry, laid over it.
// Each screen describes its columns as data (header, width, maximum length,
// which keys a column takes, its prompt) and its line rules as callbacks (what
// Enter does in a column, when a line is complete); moving between cells,
// numbering, adding and deleting lines are the same everywhere.
//
// Lines are counted from 1, as the line numbers in column 0 read; columns
// from 0 (the line number), as the screens' column tables count them.

#include <QList>
#include <QString>
#include <QTableWidget>

#include <functional>
#include <optional>
#include <vector>

class QLabel;
class QLineEdit;
class QValidator;

namespace chemodesk::platform {
class KeyFilter;
}

namespace chemodesk::widgets {

// Which typed keys a column's box takes; editing keys always pass.
enum class KeyClass {
    Any,      // as typed
    Upper,    // letters in capitals, through the key filter
    Digits,   // 0-9
    Decimal,  // 0-9 and one "."
    NotTyped, // filled by the program; typing is refused
};

struct GridColumn {
    QString header;     // replaced by the format string's header when one is given
    int widthTwips = 0; // 0 hides the column
    int maxLength = 0;  // 0: no limit
    KeyClass keys = KeyClass::Any;
    QString prompt;       // empty: the prompt line is left as it is
    bool editable = true; // false: the cursor never stops here
};

// The entry screens' question before a line is deleted: a line without an
// entry yet is refused with a message; otherwise true on the user's Yes.
bool confirmLineDeletion(bool lineHasEntry);

class EntryGrid : public QTableWidget {
    Q_OBJECT
public:
    // What Enter in a cell led to.
    enum class Enter {
        Next, // the cell is done: on to the next column (or line)
        Stay, // refused: the box stays on the cell with what was typed
        Done, // the rule has placed the box itself
    };

    struct Rules {
        // Enter in (line, column) with the box's text. The rule writes the
        // cells it fills; without a rule the text goes into the cell.
        std::function<Enter(int line, int column, const QString &text)> onEnter;
        // A line ready to be saved; without it, every required column filled.
        std::function<bool(int line)> isComplete;
        // The box is about to move onto another line (exempt columns per line).
        std::function<void(int line)> onLineEntered;
        // F3; without it the current line is deleted.
        std::function<void()> onDeleteKey;
    };

    explicit EntryGrid(platform::KeyFilter *keys, QWidget *parent = nullptr);
    ~EntryGrid() override;

    // Columns from a format string ("<# |<Code |..."), which gives the count,
    // headers and alignments, and the columns by column.
    void setColumns(const QString &format, std::vector<GridColumn> columns);
    const GridColumn &columnInfo(int index) const { return columns_.at(size_t(index)); }
    void setRules(Rules rules) { rules_ = std::move(rules); }
    void setPromptLabel(QLabel *label) { prompt_ = label; }
    // Columns that must hold text for the default complete-line rule.
    void setRequiredColumns(QList<int> columns) { required_ = std::move(columns); }
    // The column whose text makes a line an entry (QualifiedRow).
    void setQualifyingColumn(int column) { qualifying_ = column; }
    // Check_Code compares `code` in this column, and these further columns
    // must hold the same text as on the line being checked.
    void setCodeColumns(int code, QList<int> sameAlso = {});

    // ---- the screens' procedures
    // Prompt of the column; unless exempt, the box over the cell with its
    // text, visible and focused. False when the column is exempt.
    bool PutTextBox(int column, int line);
    bool PutTextBox(int column, int line, const QString &prompt);
    // The exempt list (columns the cursor skips, per line kind).
    void setExemptColumns(QList<int> columns) { exempt_ = std::move(columns); }
    const QList<int> &exemptColumns() const { return exempt_; }
    bool ExcemptCol(int column) const { return exempt_.contains(column); }
    bool CompleteRow(int line) const;
    // A new numbered line when the last one is complete; true when added.
    bool AddRow();
    // Removes the current line and renumbers; the only line is emptied instead.
    void DeleteRow();
    bool QualifiedRow(int line) const;
    // Another line than `line` holds `code` (trimmed, same case-insensitive).
    bool Check_Code(const QString &code, int line) const;

    // ---- cells and cursor
    int lineCount() const { return rowCount(); }
    int currentLine() const { return line_; }
    int currentColumn() const { return column_; }
    QString text(int line, int column) const;
    void setText(int line, int column, const QString &text);
    void clearCells(int line, int first, int last);
    // Back to one empty line numbered 1.
    void resetLines();
    // Sum of a column's numeric values.
    double columnSum(int column) const;
    // The box shows its cell's text again.
    void loadBox();
    // Enter moved past the line's last column: the next line, a new one when
    // this is the last and complete; false when the line is not complete.
    bool nextLine();
    // The first and last column the cursor may stop at.
    int firstColumn() const;
    int lastColumn() const;

    QLineEdit *txtEntry = nullptr;

Q_SIGNALS:
    // Lines were added, deleted or emptied (totals follow).
    void linesChanged();
    // A typed key was refused; `why` is also shown on the prompt line.
    void keyRefused(const QString &why);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    bool skipped(int column) const;
    // Lets the screen set the line's exempt columns before the box lands.
    void prepareLine(int line);
    int step(int from, int direction) const;
    void enter();
    bool typedKey(QKeyEvent *event);
    // Beeps and says why on the prompt line; always true (the key is taken).
    bool refuse(const QString &why);
    void placeBox();
    void number();
    QTableWidgetItem *cell(int line, int column);

    platform::KeyFilter *keys_ = nullptr;
    std::vector<GridColumn> columns_;
    Rules rules_;
    QLabel *prompt_ = nullptr;
    QList<int> exempt_;
    QList<int> required_;
    int qualifying_ = 1;
    int codeColumn_ = 1;
    QList<int> sameAlso_;
    int line_ = 1;
    int column_ = 1;
    int preparedLine_ = 0;
    // The box's text when a point was refused in a whole-number box: while
    // it stays so, the digits after the point are refused too, so "2.5"
    // never becomes 25.
    std::optional<QString> pointRefusedAt_;
    QValidator *digits_ = nullptr;
    QValidator *decimal_ = nullptr;
};

} // namespace chemodesk::widgets
