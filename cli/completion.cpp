#include "completion.h"

#include "cli_common.h"

namespace korbisto::cli {
namespace {

const QString kHeader = QStringLiteral("# Made by \"korbisto-cli completion %1\" from the tool's own option tables.\n");

QStringList commandNames() {
    QStringList names;
    for (const Command& c : commands()) names << c.name;
    return names;
}

// The values of a command's operand: files, choices, the commands, or none.
enum class OperandKind { None, File, Choices, Commands };
OperandKind operandKind(const Command& c) {
    if (c.operand.startsWith(QLatin1String("DATEI"))) return OperandKind::File;
    if (c.operand == QLatin1String("BEFEHL")) return OperandKind::Commands;
    if (Option{QString(), c.operand, QString()}.choices().isEmpty()) return OperandKind::None;
    return OperandKind::Choices;
}
QStringList operandChoices(const Command& c) {
    return operandKind(c) == OperandKind::Commands ? commandNames() : Option{QString(), c.operand, QString()}.choices();
}

// A help on one line, for a shell that shows one line per option.
QString oneLine(QString help) { return help.replace(u'\n', u' '); }

QString bash() {
    // Words are joined by line breaks, the separator of IFS below, so that
    // file names with blanks stay whole.
    const auto words = [](const QStringList& list) { return QStringLiteral("$'") + list.join(QStringLiteral("\\n")) + u'\''; };
    QString s = kHeader.arg(QStringLiteral("bash"));
    s += QStringLiteral(
        "_korbisto_cli() {\n"
        "    local IFS=$'\\n' cur=${COMP_WORDS[COMP_CWORD]} prev=\n"
        "    (( COMP_CWORD > 1 )) && prev=${COMP_WORDS[COMP_CWORD-1]}\n"
        "    # \"--out=FILE\": bash splits at the \"=\".\n"
        "    if [[ $cur == = ]]; then cur=; elif [[ $prev == = ]]; then prev=${COMP_WORDS[COMP_CWORD-2]}; fi\n"
        "    if (( COMP_CWORD == 1 )); then\n"
        "        COMPREPLY=($(compgen -W %1 -- \"$cur\"))\n"
        "        return\n"
        "    fi\n"
        "    case ${COMP_WORDS[1]} in\n")
             .arg(words(commandNames() + QStringList{QStringLiteral("--help"), QStringLiteral("--version")}));
    const QString files = QStringLiteral("compopt -o filenames 2>/dev/null; COMPREPLY=($(compgen -f -- \"$cur\"))");
    for (const Command& c : commands()) {
        s += QStringLiteral("    %1)\n        case $prev in\n").arg(c.name);
        QStringList withFile;
        QStringList free;
        QStringList names{QStringLiteral("--help")};
        for (const Option& o : c.options) {
            names << QStringLiteral("--") + o.name;
            if (o.valueName.isEmpty()) continue;
            if (o.takesFile())
                withFile << QStringLiteral("--") + o.name;
            else if (!o.choices().isEmpty())
                s += QStringLiteral("        --%1) COMPREPLY=($(compgen -W %2 -- \"$cur\")); return ;;\n")
                         .arg(o.name, words(o.choices()));
            else
                free << QStringLiteral("--") + o.name;
        }
        if (!withFile.isEmpty()) s += QStringLiteral("        %1) %2; return ;;\n").arg(withFile.join(u'|'), files);
        if (!free.isEmpty()) s += QStringLiteral("        %1) return ;;\n").arg(free.join(u'|'));
        s += QStringLiteral("        esac\n");
        s += QStringLiteral("        if [[ $cur == -* ]]; then COMPREPLY=($(compgen -W %1 -- \"$cur\"))\n").arg(words(names));
        switch (operandKind(c)) {
        case OperandKind::File:
            s += QStringLiteral("        else %1\n").arg(files);
            break;
        case OperandKind::Choices:
        case OperandKind::Commands:
            s += QStringLiteral("        else COMPREPLY=($(compgen -W %1 -- \"$cur\"))\n").arg(words(operandChoices(c)));
            break;
        case OperandKind::None:
            break;
        }
        s += QStringLiteral("        fi\n        ;;\n");
    }
    s += QStringLiteral("    esac\n}\ncomplete -F _korbisto_cli korbisto-cli\n");
    return s;
}

// Text inside '…' of zsh, where a description also must not hold the
// characters _arguments and _describe read.
QString zshQuoted(QString text, bool description) {
    if (description) {
        text.replace(u'\\', QStringLiteral("\\\\"));
        for (const QChar c : {u'[', u']', u':'}) text.replace(c, QStringLiteral("\\") + c);
    }
    text.replace(u'\'', QStringLiteral("'\\''"));
    return text;
}

QString zsh() {
    QString s = QStringLiteral("#compdef korbisto-cli\n") + kHeader.arg(QStringLiteral("zsh"));
    s += QStringLiteral("_korbisto_cli() {\n    local -a commands\n    commands=(\n");
    for (const Command& c : commands())
        s += QStringLiteral("        '%1:%2'\n").arg(c.name, zshQuoted(c.summary, true));
    s += QStringLiteral(
        "    )\n"
        "    if (( CURRENT == 2 )); then\n"
        "        _describe -t commands Befehl commands\n"
        "        compadd -- --help --version\n"
        "        return\n"
        "    fi\n"
        "    local command=$words[2]\n"
        "    shift words\n"
        "    (( CURRENT-- ))\n"
        "    case $command in\n");
    for (const Command& c : commands()) {
        s += QStringLiteral("    %1)\n        _arguments \\\n").arg(c.name);
        for (const Option& o : c.options) {
            QString spec = QStringLiteral("*--%1").arg(o.name);
            if (!o.valueName.isEmpty()) spec += u'=';
            spec += u'[' + zshQuoted(oneLine(o.help), true) + u']';
            if (!o.valueName.isEmpty()) {
                const QString message = zshQuoted(o.valueName, true);
                if (o.takesFile()) spec += QStringLiteral(":%1:_files").arg(message);
                else if (!o.choices().isEmpty()) spec += QStringLiteral(":%1:(%2)").arg(message, o.choices().join(u' '));
                else spec += QStringLiteral(":%1: ").arg(message);
            }
            s += QStringLiteral("            '%1' \\\n").arg(spec);
        }
        s += QStringLiteral("            '(- *)'{-h,--help}'[zeigt die Hilfe]'");
        switch (operandKind(c)) {
        case OperandKind::File:
            s += QStringLiteral(" \\\n            '1:%1:_files'").arg(c.operand);
            break;
        case OperandKind::Choices:
        case OperandKind::Commands:
            s += QStringLiteral(" \\\n            '1:%1:(%2)'").arg(c.operand, operandChoices(c).join(u' '));
            break;
        case OperandKind::None:
            if (!c.operand.isEmpty()) s += QStringLiteral(" \\\n            '1:%1: '").arg(c.operand);
            break;
        }
        s += QStringLiteral("\n        ;;\n");
    }
    s += QStringLiteral("    esac\n}\n_korbisto_cli \"$@\"\n");
    return s;
}

QString fishQuoted(QString text) {
    text.replace(u'\\', QStringLiteral("\\\\"));
    text.replace(u'\'', QStringLiteral("\\'"));
    return u'\'' + text + u'\'';
}

QString fish() {
    QString s = kHeader.arg(QStringLiteral("fish"));
    const QString c0 = QStringLiteral("complete -c korbisto-cli");
    s += c0 + QStringLiteral(" -f\n");
    for (const Command& c : commands())
        s += QStringLiteral("%1 -n __fish_use_subcommand -a %2 -d %3\n").arg(c0, c.name, fishQuoted(c.summary));
    s += QStringLiteral("%1 -n __fish_use_subcommand -l help -d %2\n").arg(c0, fishQuoted(QStringLiteral("zeigt die Hilfe")));
    s += QStringLiteral("%1 -n __fish_use_subcommand -l version -d %2\n").arg(c0, fishQuoted(QStringLiteral("nennt die Version")));
    for (const Command& c : commands()) {
        const QString when = QStringLiteral("%1 -n '__fish_seen_subcommand_from %2'").arg(c0, c.name);
        for (const Option& o : c.options) {
            QString line = QStringLiteral("%1 -l %2").arg(when, o.name);
            if (o.takesFile()) line += QStringLiteral(" -r -F");
            else if (!o.choices().isEmpty()) line += QStringLiteral(" -x -a %1").arg(fishQuoted(o.choices().join(u' ')));
            else if (!o.valueName.isEmpty()) line += QStringLiteral(" -x");
            s += line + QStringLiteral(" -d %1\n").arg(fishQuoted(oneLine(o.help)));
        }
        s += QStringLiteral("%1 -s h -l help -d %2\n").arg(when, fishQuoted(QStringLiteral("zeigt die Hilfe")));
        switch (operandKind(c)) {
        case OperandKind::File:
            s += when + QStringLiteral(" -F\n");
            break;
        case OperandKind::Choices:
        case OperandKind::Commands:
            s += QStringLiteral("%1 -x -a %2\n").arg(when, fishQuoted(operandChoices(c).join(u' ')));
            break;
        case OperandKind::None:
            break;
        }
    }
    return s;
}

}  // namespace

QString completionScript(const QString& shell) {
    if (shell == QLatin1String("bash")) return bash();
    if (shell == QLatin1String("zsh")) return zsh();
    if (shell == QLatin1String("fish")) return fish();
    return QString();
}

}  // namespace korbisto::cli
