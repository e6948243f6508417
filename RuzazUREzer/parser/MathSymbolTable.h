#pragma once

#include "MathAtom.h"

#include <QHash>
#include <QString>

// The commands that stand for one symbol, the large operators and named functions, the accents
// and the delimiters. Built once and never changed afterwards, so it is read from any thread
// without a lock.
class Math::SymbolTable {
public:
    struct Symbol {
        Atom::Type type = Atom::Type::ordinary;
        QString nucleus;
    };
    struct Operator {
        QString nucleus;
        bool named = false;
        bool limitsInDisplay = false;
    };
    struct Accent {
        QString character;
        bool wide = false;
        bool below = false;
    };

    static const SymbolTable &shared();

    const Symbol *symbol(const QString &command) const;
    const Operator *largeOperator(const QString &command) const;
    const Accent *accent(const QString &command) const;
    // The character of a delimiter written as a command (\langle) or a character ("("); the empty
    // string for "."; nullptr when name is not a delimiter.
    const QString *delimiter(const QString &name) const;
    // The class a single character takes in math: '+' is binary, '=' a relation, and so on.
    static Atom::Type typeOfCharacter(QChar c);

    // Reverse look-ups for the writer: the command that gives this nucleus, or empty. A nucleus
    // can stand for symbols of several classes (\dagger is binary, \dag ordinary); asked with a
    // class, the command is one of that class, when there is one.
    QString commandForSymbol(const QString &nucleus) const;
    QString commandForSymbol(const QString &nucleus, Atom::Type type) const;
    QString commandForOperator(const QString &nucleus) const;
    QString commandForDelimiter(const QString &character) const;

    // What \not makes of a symbol: its negated character (= becomes ≠), or the symbol followed
    // by a combining long solidus when it has none.
    static QString negated(const QString &nucleus);
    // The symbol that negated() turned into this nucleus; empty when it is not a negation.
    static QString unnegated(const QString &nucleus);
    // The relation that \not sets before what it cannot negate, such as an accent or a group.
    static QString notSlash() { return QStringLiteral("\u29F8"); }

private:
    SymbolTable();
    QHash<QString, Symbol> m_symbols;
    QHash<QString, Operator> m_operators;
    QHash<QString, Accent> m_accents;
    QHash<QString, QString> m_delimiters;
    QHash<QString, QString> m_symbolCommands;
    QHash<std::pair<int, QString>, QString> m_typedSymbolCommands;
    QHash<QString, QString> m_operatorCommands;
    QHash<QString, QString> m_delimiterCommands;
};
