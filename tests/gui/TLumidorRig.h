#pragma once
// One Lumidor as the program builds it (protocol component first, then the
// windows in their order), with scripted prompts, a settings file in a
// folder of its own, and every exchange kept on loopback: UDP requests go to
// the given port, broadcasts to 127.255.255.255.

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <memory>
#include <optional>

#include "TScriptedPrompts.h"
#include "UMain.h"
#include "UZudirir.h"

class TLumidorRig {
public:
  // settings: the settings file's text before start; none: no file at all.
  explicit TLumidorRig(quint16 udpPort, std::optional<QByteArray> settings = std::nullopt,
                       const QString& broadcast = QStringLiteral("127.255.255.255"));
  ~TLumidorRig();

  // Shows the window and waits for its first search to end.
  bool Start();
  // The text of the settings file (empty when there is none).
  QByteArray SettingsText() const;

  QTemporaryDir Dir;
  TFormZudirir Zudirir;
  TScriptedPrompts* Prompts = nullptr;  // owned by the window
  std::unique_ptr<TFormMain> Form;
};

// A UDP port on loopback that nothing listens on now.
quint16 FreeUdpPort();
// Waits, while handling events, until the window's exchange has ended.
void Settle(int milliseconds = 50);
