#pragma once
#include <string_view>

// The main program's string table: id -> UTF-8 text, exactly as the program
// shows it. Missing ids give an empty view and HasString false.
std::string_view KivString(int id);
bool HasString(int id);
