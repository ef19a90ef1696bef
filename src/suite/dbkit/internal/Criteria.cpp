#include "Criteria.h"

#include "ColumnStore.h"
#include "../DbError.h"

#include <cmath>

namespace dbkit {

namespace {

enum class Tri : unsigned char { False, True, Unknown };

Tri triNot(Tri v)
{
    return v == Tri::Unknown ? v : (v == Tri::True ? Tri::False : Tri::True);
}

// One operand's value for one row.
struct Value {
    enum class Kind : unsigned char { Null, Number, Text } kind = Kind::Null;
    double number = 0;
    QString text;
};

enum class TokenKind { End, Name, Text, Number, Symbol };

struct Token {
    TokenKind kind = TokenKind::End;
    QString text;     // name, literal text, or symbol
    double number = 0;
    qsizetype at = 0;
};

[[noreturn]] void fail(const QString &criteria, const QString &why)
{
    throw DbError(ErrorNumber::BadCriteria,
                  QStringLiteral("invalid criterion \"%1\": %2").arg(criteria, why));
}

std::vector<Token> tokenize(const QString &s)
{
    std::vector<Token> tokens;
    qsizetype i = 0;
    const qsizetype n = s.size();
    auto isNameChar = [](QChar c) { return c.isLetterOrNumber() || c == '_' || c == '.'; };
    while (i < n) {
        const QChar c = s[i];
        if (c.isSpace()) {
            ++i;
            continue;
        }
        Token t;
        t.at = i;
        if (c == '\'') {
            t.kind = TokenKind::Text;
            ++i;
            bool closed = false;
            while (i < n) {
                if (s[i] == '\'') {
                    if (i + 1 < n && s[i + 1] == '\'') {
                        t.text += '\'';
                        i += 2;
                        continue;
                    }
                    ++i;
                    closed = true;
                    break;
                }
                t.text += s[i++];
            }
            if (!closed)
                fail(s, QStringLiteral("unterminated text"));
        } else if (c == '[') {
            const qsizetype close = s.indexOf(']', i);
            if (close < 0)
                fail(s, QStringLiteral("unterminated [name]"));
            t.kind = TokenKind::Name;
            t.text = s.mid(i + 1, close - i - 1).trimmed();
            i = close + 1;
        } else if (c.isDigit() || (c == '.' && i + 1 < n && s[i + 1].isDigit())) {
            qsizetype j = i;
            while (j < n && (s[j].isDigit() || s[j] == '.'))
                ++j;
            if (j < n && (s[j] == 'e' || s[j] == 'E')) {
                qsizetype k = j + 1;
                if (k < n && (s[k] == '+' || s[k] == '-'))
                    ++k;
                if (k < n && s[k].isDigit()) {
                    while (k < n && s[k].isDigit())
                        ++k;
                    j = k;
                }
            }
            bool ok = false;
            t.kind = TokenKind::Number;
            t.number = s.mid(i, j - i).toDouble(&ok);
            if (!ok || (j < n && isNameChar(s[j])))
                fail(s, QStringLiteral("bad number at %1").arg(i + 1));
            i = j;
        } else if (c.isLetter() || c == '_') {
            qsizetype j = i;
            while (j < n && isNameChar(s[j]))
                ++j;
            t.kind = TokenKind::Name;
            t.text = s.mid(i, j - i);
            i = j;
        } else {
            static const QString twoChar[] = {QStringLiteral("<>"), QStringLiteral("<="),
                                              QStringLiteral(">="), QStringLiteral("!=")};
            t.kind = TokenKind::Symbol;
            for (const QString &op : twoChar)
                if (s.mid(i, 2) == op)
                    t.text = op;
            if (t.text.isEmpty()) {
                if (!QStringLiteral("=<>(),-+").contains(c))
                    fail(s, QStringLiteral("unexpected character '%1'").arg(c));
                t.text = c;
            }
            i += t.text.size();
        }
        tokens.push_back(t);
    }
    Token end;
    end.at = n;
    tokens.push_back(end);
    return tokens;
}

enum class CmpOp : unsigned char { Eq, Ne, Lt, Gt, Le, Ge };

struct Operand {
    enum class Kind : unsigned char { Column, Literal, Round } kind = Kind::Literal;
    int column = -1;
    int digits = 0;
    Value literal;
};

} // namespace

struct Criteria::Program {
    enum class Op : unsigned char { Or, And, Not, Compare, Like, IsNull };
    struct Node {
        Op op = Op::Compare;
        int left = -1;   // child nodes (Or, And, Not)
        int right = -1;
        CmpOp cmp = CmpOp::Eq;
        bool negate = false;  // Not Like / Is Not Null
        Operand a;
        Operand b;
    };
    std::vector<Node> nodes;
    int root = -1;

    template <typename Read>
    Value operand(const Operand &o, const Read &read) const;
    template <typename Read>
    Tri eval(int node, const Read &read) const;
};

namespace {

double roundTo(double value, int digits)
{
    const double scale = std::pow(10.0, digits);
    // A small nudge so 12.45 (stored as 12.4499...) rounds as written, as the servers do.
    const double nudge = value >= 0 ? 1e-9 : -1e-9;
    return std::round(value * scale + nudge) / scale;
}

bool asNumber(const Value &v, double *out)
{
    if (v.kind == Value::Kind::Number) {
        *out = v.number;
        return true;
    }
    if (v.kind != Value::Kind::Text)
        return false;
    bool ok = false;
    *out = v.text.trimmed().toDouble(&ok);
    return ok;
}

QString asText(const Value &v)
{
    if (v.kind == Value::Kind::Text)
        return v.text;
    return QString::number(v.number, 'g', 15);
}

Tri fromOrder(int order, CmpOp op)
{
    bool r = false;
    switch (op) {
    case CmpOp::Eq: r = order == 0; break;
    case CmpOp::Ne: r = order != 0; break;
    case CmpOp::Lt: r = order < 0; break;
    case CmpOp::Gt: r = order > 0; break;
    case CmpOp::Le: r = order <= 0; break;
    case CmpOp::Ge: r = order >= 0; break;
    }
    return r ? Tri::True : Tri::False;
}

Tri compareValues(const Value &a, const Value &b, CmpOp op)
{
    if (a.kind == Value::Kind::Null || b.kind == Value::Kind::Null)
        return Tri::Unknown;
    if (a.kind == Value::Kind::Text && b.kind == Value::Kind::Text)
        return fromOrder(a.text.compare(b.text), op);
    double x = 0;
    double y = 0;
    if (!asNumber(a, &x) || !asNumber(b, &y))
        return Tri::Unknown;
    const double tolerance = 1e-12 * std::max({1.0, std::abs(x), std::abs(y)});
    const int order = std::abs(x - y) <= tolerance ? 0 : (x < y ? -1 : 1);
    return fromOrder(order, op);
}

// % matches any run, _ any one character.
bool likeMatch(const QString &text, const QString &pattern)
{
    qsizetype t = 0;
    qsizetype p = 0;
    qsizetype starP = -1;
    qsizetype starT = 0;
    while (t < text.size()) {
        if (p < pattern.size() && (pattern[p] == '_' || pattern[p] == text[t])
            && pattern[p] != '%') {
            ++t;
            ++p;
        } else if (p < pattern.size() && pattern[p] == '%') {
            starP = p++;
            starT = t;
        } else if (starP >= 0) {
            p = starP + 1;
            t = ++starT;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '%')
        ++p;
    return p == pattern.size();
}

Value fromVariant(const QVariant &v)
{
    Value out;
    if (v.isNull() || !v.isValid())
        return out;
    switch (v.typeId()) {
    case QMetaType::QString:
    case QMetaType::QByteArray:
    case QMetaType::QChar:
        out.kind = Value::Kind::Text;
        out.text = v.toString();
        return out;
    default:
        break;
    }
    bool ok = false;
    const double d = v.toDouble(&ok);
    if (ok) {
        out.kind = Value::Kind::Number;
        out.number = d;
    } else {
        out.kind = Value::Kind::Text;
        out.text = v.toString();
    }
    return out;
}

// Reads one column of one stored row without building a QVariant.
struct StoreReader {
    const ColumnStore &rows;
    size_t row;
    Value operator()(int column) const
    {
        const Column &c = rows.column(column);
        Value v;
        if (c.isNull(row))
            return v;
        switch (c.kind()) {
        case Column::Kind::Text:
            v.kind = Value::Kind::Text;
            v.text = c.text(row);   // (a copy of the column's text)
            return v;
        case Column::Kind::Integer:
            v.kind = Value::Kind::Number;
            v.number = double(c.integer(row));
            return v;
        case Column::Kind::Real:
            v.kind = Value::Kind::Number;
            v.number = c.real(row);
            return v;
        default:
            return fromVariant(c.value(row));
        }
    }
};

struct VariantReader {
    const Criteria::ValueReader &read;
    Value operator()(int column) const { return fromVariant(read(column)); }
};

// Recursive descent over the tokens, building the program's nodes.
class Parser {
public:
    Parser(const QString &text, const Criteria::Resolver &resolve, Criteria::Program &program)
        : m_text(text), m_tokens(tokenize(text)), m_resolve(resolve), m_program(program)
    {
    }

    void parse()
    {
        if (peek().kind == TokenKind::End)
            fail(m_text, QStringLiteral("empty criterion"));
        m_program.root = orExpr();
        if (peek().kind != TokenKind::End)
            fail(m_text, QStringLiteral("unexpected \"%1\" at %2").arg(peek().text).arg(peek().at + 1));
    }

private:
    using Node = Criteria::Program::Node;
    using Op = Criteria::Program::Op;

    const Token &peek(size_t ahead = 0) const
    {
        return m_tokens[std::min(m_pos + ahead, m_tokens.size() - 1)];
    }
    Token take() { return m_tokens[std::min(m_pos++, m_tokens.size() - 1)]; }
    bool isWord(const Token &t, const char *word) const
    {
        return t.kind == TokenKind::Name && t.text.compare(QLatin1String(word), Qt::CaseInsensitive) == 0;
    }
    bool isSymbol(const Token &t, const char *symbol) const
    {
        return t.kind == TokenKind::Symbol && t.text == QLatin1String(symbol);
    }
    bool acceptWord(const char *word)
    {
        if (!isWord(peek(), word))
            return false;
        ++m_pos;
        return true;
    }
    void expectSymbol(const char *symbol)
    {
        if (!isSymbol(peek(), symbol))
            fail(m_text, QStringLiteral("\"%1\" expected at %2").arg(QLatin1String(symbol)).arg(peek().at + 1));
        ++m_pos;
    }
    int add(Node node)
    {
        m_program.nodes.push_back(std::move(node));
        return int(m_program.nodes.size()) - 1;
    }
    int binary(Op op, int left, int right)
    {
        Node n;
        n.op = op;
        n.left = left;
        n.right = right;
        return add(std::move(n));
    }

    int orExpr()
    {
        int left = andExpr();
        while (acceptWord("or"))
            left = binary(Op::Or, left, andExpr());
        return left;
    }
    int andExpr()
    {
        int left = notExpr();
        while (acceptWord("and"))
            left = binary(Op::And, left, notExpr());
        return left;
    }
    int notExpr()
    {
        // Bounded nesting: a garbled criterion must fail, not exhaust the stack.
        if (++m_depth > 200)
            fail(m_text, QStringLiteral("nested too deeply"));
        const int node = acceptWord("not") ? binary(Op::Not, notExpr(), -1) : predicate();
        --m_depth;
        return node;
    }

    bool startsPredicate()
    {
        // "(" opens a nested condition unless it is followed by an operand and
        // a comparison, e.g. "(cWhCode) = '1'" is rare enough to not support.
        return isSymbol(peek(), "(");
    }

    int predicate()
    {
        if (startsPredicate()) {
            ++m_pos;
            const int inner = orExpr();
            expectSymbol(")");
            return inner;
        }
        Node n;
        n.a = operand();
        const Token &t = peek();
        if (isWord(t, "is")) {
            ++m_pos;
            n.op = Op::IsNull;
            n.negate = acceptWord("not");
            if (!acceptWord("null"))
                fail(m_text, QStringLiteral("Null expected after Is"));
            return add(std::move(n));
        }
        if (isWord(t, "not") && isWord(peek(1), "like")) {
            m_pos += 2;
            n.op = Op::Like;
            n.negate = true;
            n.b = operand();
            return add(std::move(n));
        }
        if (isWord(t, "like")) {
            ++m_pos;
            n.op = Op::Like;
            n.b = operand();
            return add(std::move(n));
        }
        if (t.kind != TokenKind::Symbol)
            fail(m_text, QStringLiteral("comparison expected at %1").arg(t.at + 1));
        static const QList<QPair<QString, CmpOp>> ops = {
            {QStringLiteral("="), CmpOp::Eq},  {QStringLiteral("<>"), CmpOp::Ne},
            {QStringLiteral("!="), CmpOp::Ne}, {QStringLiteral("<"), CmpOp::Lt},
            {QStringLiteral(">"), CmpOp::Gt},  {QStringLiteral("<="), CmpOp::Le},
            {QStringLiteral(">="), CmpOp::Ge}};
        bool found = false;
        for (const auto &[symbol, op] : ops) {
            if (t.text == symbol) {
                n.cmp = op;
                found = true;
            }
        }
        if (!found)
            fail(m_text, QStringLiteral("comparison expected at %1").arg(t.at + 1));
        ++m_pos;
        n.op = Op::Compare;
        n.b = operand();
        return add(std::move(n));
    }

    Operand operand()
    {
        Operand o;
        const Token t = take();
        if (t.kind == TokenKind::Text) {
            o.literal.kind = Value::Kind::Text;
            o.literal.text = t.text;
            return o;
        }
        if (t.kind == TokenKind::Number) {
            o.literal.kind = Value::Kind::Number;
            o.literal.number = t.number;
            return o;
        }
        if (isSymbol(t, "-") || isSymbol(t, "+")) {
            const Token num = take();
            if (num.kind != TokenKind::Number)
                fail(m_text, QStringLiteral("number expected at %1").arg(num.at + 1));
            o.literal.kind = Value::Kind::Number;
            o.literal.number = isSymbol(t, "-") ? -num.number : num.number;
            return o;
        }
        if (t.kind != TokenKind::Name)
            fail(m_text, QStringLiteral("value expected at %1").arg(t.at + 1));
        if (isWord(t, "null"))
            return o;  // a Null literal: every comparison with it is unknown
        if (isWord(t, "true") || isWord(t, "false")) {
            o.literal.kind = Value::Kind::Number;
            o.literal.number = isWord(t, "true") ? 1 : 0;
            return o;
        }
        if (isWord(t, "round") && isSymbol(peek(), "(")) {
            ++m_pos;
            const Token column = take();
            if (column.kind != TokenKind::Name)
                fail(m_text, QStringLiteral("column expected in round()"));
            o.kind = Operand::Kind::Round;
            o.column = resolve(column.text);
            o.digits = 0;
            if (isSymbol(peek(), ",")) {
                ++m_pos;
                const Token digits = take();
                if (digits.kind != TokenKind::Number || digits.number < 0 || digits.number > 15
                    || digits.number != std::floor(digits.number))
                    fail(m_text, QStringLiteral("digits expected in round()"));
                o.digits = int(digits.number);
            }
            expectSymbol(")");
            return o;
        }
        o.kind = Operand::Kind::Column;
        o.column = resolve(t.text);
        return o;
    }

    int resolve(const QString &name)
    {
        const int index = m_resolve(name);
        if (index < 0)
            fail(m_text, QStringLiteral("unknown field %1").arg(name));
        return index;
    }

    const QString &m_text;
    std::vector<Token> m_tokens;
    size_t m_pos = 0;
    int m_depth = 0;
    const Criteria::Resolver &m_resolve;
    Criteria::Program &m_program;
};

} // namespace

template <typename Read>
Value Criteria::Program::operand(const Operand &o, const Read &read) const
{
    switch (o.kind) {
    case Operand::Kind::Literal:
        return o.literal;
    case Operand::Kind::Column:
        return read(o.column);
    case Operand::Kind::Round: {
        Value v = read(o.column);
        double x = 0;
        if (!asNumber(v, &x))
            return Value();
        Value out;
        out.kind = Value::Kind::Number;
        out.number = roundTo(x, o.digits);
        return out;
    }
    }
    return Value();
}

template <typename Read>
Tri Criteria::Program::eval(int index, const Read &read) const
{
    const Node &n = nodes[size_t(index)];
    switch (n.op) {
    case Op::Or: {
        const Tri l = eval(n.left, read);
        if (l == Tri::True)
            return l;
        const Tri r = eval(n.right, read);
        return r == Tri::True ? r : (l == Tri::Unknown || r == Tri::Unknown ? Tri::Unknown : Tri::False);
    }
    case Op::And: {
        const Tri l = eval(n.left, read);
        if (l == Tri::False)
            return l;
        const Tri r = eval(n.right, read);
        return r == Tri::False ? r : (l == Tri::Unknown || r == Tri::Unknown ? Tri::Unknown : Tri::True);
    }
    case Op::Not:
        return triNot(eval(n.left, read));
    case Op::IsNull: {
        const bool null = operand(n.a, read).kind == Value::Kind::Null;
        return null != n.negate ? Tri::True : Tri::False;
    }
    case Op::Like: {
        const Value v = operand(n.a, read);
        const Value p = operand(n.b, read);
        if (v.kind == Value::Kind::Null || p.kind == Value::Kind::Null)
            return Tri::Unknown;
        const bool m = likeMatch(asText(v), asText(p));
        return m != n.negate ? Tri::True : Tri::False;
    }
    case Op::Compare:
        return compareValues(operand(n.a, read), operand(n.b, read), n.cmp);
    }
    return Tri::Unknown;
}

Criteria::Criteria() : m_program(std::make_unique<Program>()) {}
Criteria::Criteria(Criteria &&) noexcept = default;
Criteria &Criteria::operator=(Criteria &&) noexcept = default;
Criteria::~Criteria() = default;

Criteria Criteria::compile(const QString &text, const Resolver &resolve)
{
    Criteria c;
    Parser(text, resolve, *c.m_program).parse();
    return c;
}

bool Criteria::matches(const ColumnStore &rows, size_t row) const
{
    return m_program->eval(m_program->root, StoreReader{rows, row}) == Tri::True;
}

bool Criteria::matches(const ValueReader &value) const
{
    return m_program->eval(m_program->root, VariantReader{value}) == Tri::True;
}

} // namespace dbkit
