// The standard dialogs, the real ones, answered through their own controls by the simulator
// (DialogAnswer), under the Wine session's display.
#include <windows.h>

#include <cstdlib>
#include <fstream>

#include "tests/win/entorno.h"

using prueba::Host;

namespace {

int CALLBACK HayCara(const LOGFONTA*, const TEXTMETRICA*, DWORD, LPARAM lp) {
  *reinterpret_cast<bool*>(lp) = true;
  return 0;
}

// A face the system has (the dialog lists only those).
std::string Cara() {
  static std::string cara = [] {
    HDC dc = GetDC(nullptr);
    std::string elegida = "Tahoma";
    for (const char* c : {"Tahoma", "DejaVu Sans", "Liberation Sans"}) {
      LOGFONTA lf{};
      lf.lfCharSet = DEFAULT_CHARSET;
      lstrcpyA(lf.lfFaceName, c);
      bool hay = false;
      EnumFontFamiliesExA(dc, &lf, HayCara, reinterpret_cast<LPARAM>(&hay), 0);
      if (hay) {
        elegida = c;
        break;
      }
    }
    ReleaseDC(nullptr, dc);
    return elegida;
  }();
  return cara;
}

std::string Llamada(const Host& h, const std::string& prefijo) {
  for (const std::string& l : h.sim->Llamadas())
    if (l.rfind(prefijo, 0) == 0) return l;
  return "(no " + prefijo + " in the record)";
}

class Dialogos : public ::testing::Test {
 protected:
  void Jugar(const std::string& guion) {
    h_.sim->OlvidarRegistros();
    h_.Reproducir(guion);
    ASSERT_TRUE(h_.sim->Faltas().empty()) << h_.sim->Faltas().front();
  }
  std::string R() const { return h_.Var("krResultadoAccion"); }
  std::map<long, std::string> Lista() const { return h_.sim->Elementos("krResultadoAccion"); }
  Host h_;
};

TEST_F(Dialogos, ColorConfirmadoConColoresPersonalizados) {
  const char* iniciales[] = {"FF", "zz", "", "00ff00", "1"};
  for (int i = 0; i < 16; ++i) h_.sim->FijarVariable("Col" + std::to_string(i), i < 5 ? iniciales[i] : "");
  // The dialog adds the custom colour to the first slot.
  Jugar("DialogAnswer \"Color\" \"10,20,30\" \"0,0,255\"\nkrDialogoColor \"Col\" \"True\" \"True\"\n");
  EXPECT_EQ(Llamada(h_, "ColorDialog"), "ColorDialog(expanded yes, expand button disabled, owner none)");
  EXPECT_EQ(R(), "10,20,30");
  const char* esperados[] = {"FF0000", "FFFFFFFF", "FFFFFFFF", "00FF00", "000001"};
  for (int i = 0; i < 16; ++i)
    EXPECT_EQ(h_.Var("Col" + std::to_string(i)), i < 5 ? esperados[i] : "FFFFFFFF") << i;
}

TEST_F(Dialogos, ColorExpandidoYBotonSegunParametros) {
  // What the plug-in asks for, and what the dialog then shows. Wine's dialog disables the
  // expand button once expanded, and stays collapsed when asked for both options.
  struct {
    const char *p2, *p3, *opciones, *estado;
  } casos[] = {
      {"False", "True", "CC_RGBINIT|CC_FULLOPEN|CC_PREVENTFULLOPEN", "expanded no, expand button disabled"},
      {"True", "", "CC_RGBINIT", "expanded no, expand button enabled"},
      {"", "", "CC_RGBINIT|CC_PREVENTFULLOPEN", "expanded no, expand button disabled"},
      {"True", "True", "CC_RGBINIT|CC_FULLOPEN", "expanded yes, expand button disabled"},
      {"Checked", "Checked", "CC_RGBINIT|CC_FULLOPEN", "expanded yes, expand button disabled"},
      {"x", "False", "CC_RGBINIT", "expanded no, expand button enabled"},
  };
  h_.sim->FijarVariable("Col0", "abc");
  for (const auto& c : casos) {
    SCOPED_TRACE(std::string(c.p2) + "/" + c.p3);
    Jugar(std::string("DialogAnswer \"Cancel\"\nkrDialogoColor \"Col\" \"") + c.p2 + "\" \"" + c.p3 + "\"\n");
    EXPECT_EQ(R(), "False");
    EXPECT_EQ(h_.Var("Col0"), "abc") << "the array is written on cancel";
  }
  // The state is checked with an answer that reads it.
  for (const auto& c : casos) {
    SCOPED_TRACE(std::string(c.p2) + "/" + c.p3);
    Jugar(std::string("DialogAnswer \"Color\" \"\"\nkrDialogoColor \"Col\" \"") + c.p2 + "\" \"" + c.p3 + "\"\n");
    EXPECT_EQ(Llamada(h_, "ChooseColorA"), std::string("ChooseColorA(") + c.opciones + ")");
    EXPECT_EQ(Llamada(h_, "ColorDialog"), std::string("ColorDialog(") + c.estado + ", owner none)");
    EXPECT_EQ(R(), "0,0,0");  // the current colour starts black
  }
}

TEST_F(Dialogos, ColorConNombreVacio) {
  h_.sim->FijarVariable("3", "ff");
  Jugar("DialogAnswer \"Color\" \"255,0,0\"\nkrDialogoColor \"\" \"True\" \"\"\n");
  EXPECT_EQ(R(), "255,0,0");
  EXPECT_EQ(h_.Var("3"), "0000FF");
  EXPECT_EQ(h_.Var("0"), "FFFFFFFF");
  EXPECT_EQ(h_.Var("15"), "FFFFFFFF");
}

TEST_F(Dialogos, FuenteSinCambios) {
  Jugar("DialogAnswer \"Font\"\nkrDialogoFuente \"" + Cara() + "\" \"abc\" \"0,0,255\" \"Bold+Underline\" \"NO_EXISTE\"\n");
  EXPECT_EQ(Llamada(h_, "FontDialog").rfind("FontDialog(face \"" + Cara() + "\", style \"Bold\", size \"10\", ", 0), 0u)
      << Llamada(h_, "FontDialog");
  EXPECT_NE(Llamada(h_, "FontDialog").find("effects yes"), std::string::npos);
  EXPECT_EQ(R(), "");
  auto l = Lista();
  ASSERT_EQ(l.size(), 5u) << h_.Salida();
  EXPECT_EQ(l[0], "0,0,255");
  EXPECT_EQ(l[1], Cara());
  EXPECT_EQ(l[2], "10");
  EXPECT_EQ(l[3], "Bold+Underline");
  EXPECT_EQ(l[4], "ANSI_CHARSET");
}

TEST_F(Dialogos, FuenteCambiada) {
  Jugar("DialogAnswer \"Font\" \"" + Cara() + "\" \"14\" \"Italic+Strikeout\" \"255,0,0\"\n"
        "krDialogoFuente \"" + Cara() + "\" \"12\" \"0,0,0\" \"Bold\" \"GREEK_CHARSET\"\n");
  auto l = Lista();
  ASSERT_EQ(l.size(), 5u);
  EXPECT_EQ(l[0], "255,0,0");
  EXPECT_EQ(l[1], Cara());
  EXPECT_EQ(l[2], "14");
  EXPECT_EQ(l[3], "Italic+Strikeout");
  EXPECT_EQ(l[4], "GREEK_CHARSET");
}

TEST_F(Dialogos, FuenteCancelada) {
  Jugar("DialogAnswer \"Cancel\"\nkrDialogoFuente \"Tahoma\" \"12\" \"0,0,0\" \"\" \"\"\n");
  EXPECT_EQ(R(), "False");
  EXPECT_TRUE(Lista().empty());
}

class DialogosImagen : public Dialogos {
 protected:
  void SetUp() override {
    carpeta_ = prueba::CarpetaDeLaPrueba("dlg");
    CreateDirectoryA(carpeta_.c_str(), nullptr);
    const char* datos = std::getenv("PELMARO_DATOS");
    ASSERT_TRUE(datos) << "PELMARO_DATOS must name the folder preparar_datos.sh filled";
    muestra_ = std::string(datos) + "\\muestra.bmp";
    for (const char* n : {"a.bmp", "b.bmp", "c.bmp"}) ASSERT_TRUE(CopyFileA(muestra_.c_str(), Ruta(n).c_str(), FALSE));
  }
  void TearDown() override {
    for (const char* n : {"a.bmp", "b.bmp", "c.bmp", "nuevo.bmp"}) DeleteFileA(Ruta(n).c_str());
    RemoveDirectoryA(carpeta_.c_str());
  }
  std::string Ruta(const std::string& n) const { return carpeta_ + "\\" + n; }
  std::string carpeta_, muestra_;
};

TEST_F(DialogosImagen, AbrirUnArchivoConVistaPrevia) {
  h_.sim->FijarVariable("RO", "x");
  Jugar("DialogAnswer \"File\" \"" + muestra_ + "\"\nkrDialogoAbrirImagen \"Elige\" \"" + muestra_ +
        "\" \"\" \"\" \"[RO]\"\n");
  EXPECT_EQ(Llamada(h_, "FileDialog"),
            "FileDialog(title \"Elige\", type \"Todas las im\xe1genes (*.bmp;*.dib;*.jpg;*.jpeg;*.jpe;*.jfif;*.png;*.gif;"
            "*.ico;*.emf;*.wmf)\", read-only box yes, preview \"40 x 30\")");
  EXPECT_EQ(R(), muestra_);
  EXPECT_TRUE(Lista().empty());
  EXPECT_EQ(h_.Var("RO"), "False");
  EXPECT_EQ(h_.Var("krUltimoError"), "");
}

// Wine's dialog reports the read-only box only for a single file (see AbrirSoloLectura).
TEST_F(DialogosImagen, AbrirTresArchivos) {
  Jugar("DialogAnswer \"File\" \"" + Ruta("a.bmp") + "\" \"b.bmp\" \"c.bmp\"\nkrDialogoAbrirImagen \"\" \"" + Ruta("a.bmp") +
        "\" \"Mapas de bits|*.bmp\" \"bmp\" \"[RO]\"\n");
  EXPECT_NE(Llamada(h_, "FileDialog").find("type \"Mapas de bits\""), std::string::npos) << Llamada(h_, "FileDialog");
  EXPECT_EQ(R(), "") << h_.Salida();
  EXPECT_EQ(Lista(), (std::map<long, std::string>{{0, Ruta("a.bmp")}, {1, Ruta("b.bmp")}, {2, Ruta("c.bmp")}}));
  EXPECT_EQ(h_.Var("RO"), "False");
}

TEST_F(DialogosImagen, AbrirSoloLectura) {
  Jugar("DialogAnswer \"FileReadOnly\" \"" + Ruta("b.bmp") + "\"\nkrDialogoAbrirImagen \"\" \"\" \"\" \"\" \"[RO]\"\n");
  EXPECT_EQ(R(), Ruta("b.bmp"));
  EXPECT_EQ(h_.Var("RO"), "True");
}

TEST_F(DialogosImagen, AbrirCancelado) {
  h_.sim->FijarVariable("RO", "True");
  Jugar("DialogAnswer \"Cancel\"\nkrDialogoAbrirImagen \"\" \"\" \"\" \"\" \"[RO]\"\n");
  EXPECT_EQ(R(), "False");
  EXPECT_EQ(h_.Var("RO"), "False");
  EXPECT_TRUE(Lista().empty());
}

TEST_F(DialogosImagen, Guardar) {
  Jugar("DialogAnswer \"File\" \"nuevo\"\nkrDialogoGuardarImagen \"Guarda\" \"" + Ruta("x.bmp") +
        "\" \"Mapas de bits|*.bmp\" \"bmp\"\n");
  EXPECT_NE(Llamada(h_, "FileDialog").find("title \"Guarda\""), std::string::npos) << Llamada(h_, "FileDialog");
  EXPECT_EQ(R(), Ruta("nuevo.bmp"));
  // An existing file: the dialog asks before overwriting it.
  Jugar("DialogAnswer \"File\" \"a.bmp\"\nkrDialogoGuardarImagen \"\" \"" + Ruta("x.bmp") + "\" \"\" \"\"\n");
  EXPECT_NE(Llamada(h_, "Question("), "(no Question( in the record)");
  EXPECT_EQ(R(), Ruta("a.bmp"));
  Jugar("DialogAnswer \"Cancel\"\nkrDialogoGuardarImagen \"\" \"\" \"\" \"\"\n");
  EXPECT_EQ(R(), "False");
  EXPECT_EQ(h_.Var("krUltimoError"), "");
}

}  // namespace
