#include "dialogs/info_dialogs.h"

#include <initializer_list>

#include "app/brenavo_funcs.h"
#include "settings/settings_store.h"

namespace brenavo {

namespace {

constexpr const char* AUTHOR = "Equipo de Brenavo";
// Brenavo has no mailbox: comments go to the project's issue tracker.
constexpr const char* CONTACT = "el gestor de incidencias del proyecto Brenavo";
constexpr const char* CHARITY = "Oxfam";
constexpr const char* CHARITY_URL = "https://www.oxfam.org";

std::string joinLines(std::initializer_list<std::string> lines) {
  std::string text;
  bool first = true;
  for (const std::string& line : lines) {
    if (!first) text += '\n';
    text += line;
    first = false;
  }
  return text;
}

}  // namespace

std::string aboutText() {
  return joinLines({WINDOW_TITLE,
                    std::string("Version ") + APP_VERSION,
                    std::string("Last modified on ") + APP_LAST_MOD,
                    "",
                    std::string("Autor: \t") + AUTHOR,
                    std::string("E-mail:\tcomentarios en ") + CONTACT,
                    "",
                    std::string("URL:\t") + CONTACT});
}

std::string usageText() {
  return joinLines({
      "ACUERDO DE USO / RENUNCIA DE RESPONSABILIDAD",
      "",
      "Derechos de autor (c) 2026 Brenavo.  Todos los derechos reservados.",
      "Su intencion es uso personal unicamente.  Este programa no incluye",
      "ningun tipo de garantias.  Debido a que este programa es una obra por",
      "amor al arte, el autor no garantiza estar disponible 24/7 para resolver",
      "problemas tecnicos.",
      "",
      "Al usar este programa, el usuario esta de acuerdo en:",
      "",
      "   * aceptar responsabilidad en su totalidad por cualquier desdicha",
      "     sufrida por el uso de este programa y no debera responsabilizar",
      "     a nadie en dicho caso",
      "     ",
      "   * no buscar ni obtener ningun tipo de",
      "     beneficio financiero por medio del uso de este programa",
      "     ",
      "Sin embargo, si crees que este programa ha mejorado drasticamente algun",
      "aspecto de tu vida, e insistes en compensar al autor por su labor, haz",
      std::string("un donativo a ") + CHARITY + " para combatir la pobreza en el mundo:",
      "",
      std::string("\t") + CHARITY + ": " + CHARITY_URL,
      "",
      "Comentarios, criticas, y sugerencias seran bien recibidas:",
      std::string("(") + CONTACT + ")",
      "",
      "",
      "",
  });
}

void runAboutDialog(Program& program) { program.os.dialogs.runAbout(aboutText()); }

void runUsageDialog(Program& program) { program.os.dialogs.runUsage(usageText()); }

}  // namespace brenavo
