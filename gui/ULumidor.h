#pragma once
// Creates Lumidor's windows in their fixed order: the main window, the image
// detail window, the selection dialog, the network setup dialog, the about
// box, the authentication dialog. All live as long as the main window.

#include <QString>
#include <memory>

#include "UPrompts.h"

class TFormMain;
class TFormZudirir;

// zudirir: the protocol component, created before any window and outliving
// them. prompts: null for the real dialogs. settingsFile: empty for the file
// beside the program.
std::unique_ptr<TFormMain> CreateForms(TFormZudirir& zudirir, std::unique_ptr<TPrompts> prompts = nullptr,
                                       const QString& settingsFile = QString());
