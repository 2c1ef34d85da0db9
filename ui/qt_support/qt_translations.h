#pragma once

// Makes Qt's own texts (the buttons of message boxes, the standard font,
// colour and folder choosers) Japanese like the rest of the programs, from
// the translations Qt ships (Debian: qt6-translations-l10n). Without them
// those texts stay English and nothing else changes. Call once, after the
// application object exists.
void InstallQtJapaneseTexts();
