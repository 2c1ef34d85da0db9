#pragma once
#include <span>
#include <string_view>

// The main program's string table: id -> UTF-8 text, exactly as the program
// shows it. Missing ids give an empty view and HasString false.
std::string_view KivString(int id);
bool HasString(int id);

// One row of the table.
struct KivStringEntry {
  int id;
  std::string_view text;
};

// Every row, ordered by id (for checks over the whole table).
std::span<const KivStringEntry> KivStringTable();
