#include "ULumidor.h"

#include "UAbout.h"
#include "UImage.h"
#include "UMain.h"
#include "UPassword.h"
#include "USelect.h"
#include "USetup.h"

std::unique_ptr<TFormMain> CreateForms(TFormZudirir& zudirir, std::unique_ptr<TPrompts> prompts,
                                       const QString& settingsFile) {
  auto main = std::make_unique<TFormMain>(zudirir, std::move(prompts), settingsFile);
  TPrompts& shared = main->Prompts();
  main->FormImage = new TFormImage(shared, main.get());
  main->FormSelect = new TFormSelect(shared, main.get());
  main->FormSetup = new TFormSetup(shared, main.get());
  main->FormAbout = new TFormAbout(shared, main.get());
  main->FormPassword = new TFormPassword(shared, main.get());
  return main;
}
