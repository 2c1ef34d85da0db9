#pragma once

class QCoreApplication;

// Kiv and its companion programs speak Japanese whatever the user's locale,
// so the texts Qt itself draws (the standard buttons of a message box, the
// font, colour and file choosers) are taken from Qt's own Japanese catalogue
// as installed on the system. Without the catalogue they stay in English.
// Returns whether it was loaded.
bool LoadQtJapanese(QCoreApplication& app);
