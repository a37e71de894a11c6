// Lexorin: the editor of Zorvik's language table.
#include "toolkit/Toolkit.h"
#include "langedit/uMain.h"

int main(int argc, char** argv) {
  toolkit::TApplication app(argc, argv);
  app.SetTitle("Lexorin");
  app.CreateForm(Form1);
  return app.Run();
}
