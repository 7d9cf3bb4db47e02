// Scripts of the host simulator: one command a line, texts in double quotes, subroutines as
// ":Name" ... "Return" blocks. Platform-free.
#pragma once
#include <functional>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace nbhost {

struct Argumento {
  std::string texto;
  bool citado = false;  // written between double quotes
};

struct LineaGuion {
  int numero = 0;      // 1-based line of the script file
  std::string orden;   // the command or action name
  std::vector<Argumento> argumentos;
  std::string original;  // the line as written, trimmed
};

struct MenorSinCaso {
  bool operator()(const std::string& a, const std::string& b) const;
};

struct Guion {
  std::vector<LineaGuion> principal;
  std::map<std::string, std::vector<LineaGuion>, MenorSinCaso> subrutinas;
  std::vector<std::string> nombresSubrutinas;  // in the order they are written
};

class ErrorGuion : public std::runtime_error {
 public:
  ErrorGuion(int linea, const std::string& mensaje)
      : std::runtime_error("line " + std::to_string(linea) + ": " + mensaje), linea_(linea) {}
  int Linea() const { return linea_; }

 private:
  int linea_;
};

// Splits one line into its command and arguments. Blank lines and comments (starting with
// ";" or "//") give an empty command.
LineaGuion AnalizarLinea(const std::string& texto, int numero);

// Reads a whole script.
Guion AnalizarGuion(const std::string& texto);

// Replaces every "[Name]" by the value `variable` gives for Name, and "[#NN]" by the character
// with that decimal code. A "[" without a closing "]" stays as written.
std::string Expandir(const std::string& texto, const std::function<std::string(const std::string&)>& variable);

// "[Name]" or "Name" -> "Name": how a parameter that names a variable is passed.
std::string NombreDeVariable(const std::string& texto);

bool IgualesSinCaso(const std::string& a, const std::string& b);

}  // namespace nbhost
