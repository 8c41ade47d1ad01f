#include "command_line.h"

#include <getopt.h>

#include <string_view>
#include <vector>

#include "account.h"

const char* const kUsage =
    "usage: credit-service COMMAND [--db FILE]\n"
    "  serve [--port N]  answer the game on 127.0.0.1:N (default 6667, 0 for any free port);\n"
    "                    creates an empty ledger when there is none\n"
    "  init              create an empty ledger (refused when FILE already exists as a ledger\n"
    "                    or any other database)\n"
    "  insert PENCE      add inserted coins to the credit (1 to 9999 pence)\n"
    "  collect           pay the bank out to the player\n"
    "  status            show credit and bank\n"
    "  ledger            list every change to credit and bank\n"
    "  --help            show this text;  --version  show the program's version\n"
    "The ledger is FILE, else $VANTOR_CREDIT_DB, else credit.db in the current directory.\n"
    "insert, collect, status and ledger need an existing ledger: create it with init or serve.\n"
    "Exit codes: 0 done, 1 refused or failed, 2 bad arguments.\n";

namespace {

enum OptionCode { kDb = 1000, kPort, kVersion };

constexpr option kOptions[] = {
    {"db", required_argument, nullptr, kDb},
    {"port", required_argument, nullptr, kPort},
    {"help", no_argument, nullptr, 'h'},
    {"version", no_argument, nullptr, kVersion},
    {nullptr, 0, nullptr, 0},
};

struct CommandName {
    std::string_view name;
    Action action;
    int values;  // how many words follow the command
};

constexpr CommandName kCommands[] = {
    {"serve", Action::Serve, 0},   {"init", Action::Init, 0},
    {"insert", Action::Insert, 1}, {"collect", Action::Collect, 0},
    {"status", Action::Status, 0}, {"ledger", Action::PrintLedger, 0},
};

// A whole decimal number from `lowest` to `highest`: digits only, nothing before or after.
std::optional<int> ReadNumber(std::string_view text, int lowest, int highest) {
    if (text.empty()) return std::nullopt;
    long long value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
        if (value > highest) return std::nullopt;
    }
    if (value < lowest) return std::nullopt;
    return static_cast<int>(value);
}

std::string Quoted(std::string_view text) {
    return "'" + std::string(text) + "'";
}

// The option getopt_long could not use, as the operator typed it.
std::string OffendingOption(char** argv) {
    if (optopt != 0 && optopt < kDb) return Quoted(std::string("-") + static_cast<char>(optopt));
    const std::string_view typed = argv[optind - 1];
    return Quoted(typed.substr(0, typed.find('=')));
}

}  // namespace

std::optional<Invocation> ReadCommandLine(int argc, char** argv, const std::string& default_db,
                                          std::string& error) {
    Invocation invocation;
    invocation.db = default_db;
    std::optional<std::string> port;
    std::vector<std::string_view> words;
    opterr = 0;
    optind = 0;  // a fresh scan, whoever scanned before
    // "-": the command and its values come back in order among the options (code 1), even where
    // POSIXLY_CORRECT would otherwise end the options at the command; ":": a missing value is ':'.
    for (int code; (code = getopt_long(argc, argv, "-:h", kOptions, nullptr)) != -1;) {
        switch (code) {
            case 1:
                words.emplace_back(optarg);
                break;
            case 'h':
                invocation.action = Action::Help;
                return invocation;
            case kVersion:
                invocation.action = Action::Version;
                return invocation;
            case kDb:
                invocation.db = optarg;
                if (invocation.db.empty()) {
                    error = "--db needs a file name";
                    return std::nullopt;
                }
                break;
            case kPort:
                port = optarg;
                break;
            case ':':
                error = "option " + OffendingOption(argv) + " needs a value";
                return std::nullopt;
            default:
                error = "unknown option " + OffendingOption(argv);
                return std::nullopt;
        }
    }
    words.insert(words.end(), argv + optind, argv + argc);  // those after "--"
    if (words.empty()) {
        error = "no command given";
        return std::nullopt;
    }
    const CommandName* command = nullptr;
    for (const CommandName& candidate : kCommands) {
        if (candidate.name == words[0]) command = &candidate;
    }
    if (!command) {
        error = "unknown command " + Quoted(words[0]);
        return std::nullopt;
    }
    invocation.action = command->action;
    const std::string name(command->name);
    const int values = static_cast<int>(words.size()) - 1;
    if (values > command->values) {
        error = name + ": unexpected argument " + Quoted(words[command->values + 1]);
        return std::nullopt;
    }
    if (values < command->values) {
        error = name + ": the amount in pence is missing";
        return std::nullopt;
    }
    if (port && command->action != Action::Serve) {
        error = name + ": --port is only for serve";
        return std::nullopt;
    }
    if (command->action == Action::Serve) {
        const std::optional<int> number = port ? ReadNumber(*port, 0, 65535) : kDefaultPort;
        if (!number) {
            error = "serve: port must be 0 to 65535, got " + Quoted(*port);
            return std::nullopt;
        }
        invocation.port = static_cast<uint16_t>(*number);
    }
    if (command->action == Action::Insert) {
        const std::optional<int> pence = ReadNumber(words[1], 1, kMaxBalance);
        if (!pence) {
            error = "insert: amount must be 1 to " + std::to_string(kMaxBalance) + " pence, got " +
                    Quoted(words[1]);
            return std::nullopt;
        }
        invocation.amount = *pence;
    }
    return invocation;
}
