// Lexorin: the editor of Zorvik's language table.
#include "Toolkit.h"
#include "uMain.h"

int main(int argc, char** argv) {
  toolkit::TApplication app(argc, argv);
  app.SetTitle("Lexorin");
  app.CreateForm(Form1);
  return app.Run();
}
