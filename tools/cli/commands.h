// The commands of tracklore-cli.
//
// Each runs in the database directory with the run's options and host and
// returns the process's exit status: 0 done, 1 failed or refused (the
// reason is on stderr), 2 wrong usage. Listings and outcomes go to stdout;
// messages, questions and progress to stderr.
#pragma once

#include <cstdio>
#include <optional>
#include <string>

#include "catalogue/kind.h"
#include "tools/cli/args.h"
#include "tools/cli/terminalhost.h"

namespace tracklore::cli {

using CommandFn = int (*)(const Options& options, TerminalHost& host);

int cmd_create(const Options& options, TerminalHost& host);
int cmd_list(const Options& options, TerminalHost& host);
int cmd_show(const Options& options, TerminalHost& host);
int cmd_xref(const Options& options, TerminalHost& host);
int cmd_add(const Options& options, TerminalHost& host);
int cmd_link(const Options& options, TerminalHost& host);
int cmd_unlink(const Options& options, TerminalHost& host);
int cmd_move(const Options& options, TerminalHost& host);
int cmd_rename(const Options& options, TerminalHost& host);
int cmd_delete(const Options& options, TerminalHost& host);
int cmd_merge(const Options& options, TerminalHost& host);
int cmd_duplicates(const Options& options, TerminalHost& host);
int cmd_undo(const Options& options, TerminalHost& host);
int cmd_redo(const Options& options, TerminalHost& host);
int cmd_pack(const Options& options, TerminalHost& host);
int cmd_reindex(const Options& options, TerminalHost& host);
int cmd_verify(const Options& options, TerminalHost& host);
int cmd_recover(const Options& options, TerminalHost& host);
int cmd_export(const Options& options, TerminalHost& host);
int cmd_import(const Options& options, TerminalHost& host);
int cmd_scan(const Options& options, TerminalHost& host);
int cmd_search(const Options& options, TerminalHost& host);
int cmd_stats(const Options& options, TerminalHost& host);

// Checks the command's operands and options against its entry in the
// command table and runs it.
int runcommand(const Options& options, TerminalHost& host);

void printusage(std::FILE* to);

// Prints "tracklore-cli: text (see tracklore-cli --help)"; returns 2.
int usageerror(const std::string& text);

// The kind a word names, singular or plural ("album", "songs"); none for
// another word.
std::optional<Kind> kindof(const std::string& word);
// The same for artist or song only.
std::optional<Kind> attributekind(const std::string& word);

}  // namespace tracklore::cli
