// Hexadecimal values of INI files and the zero-separated name lists.
#include <gtest/gtest.h>

#include "actions/ini/hexadecimal.h"

using namespace pelmaro;

TEST(Hexadecimal, CodificaYDecodifica) {
  struct {
    std::string valor, texto;
  } casos[] = {
      {"", ""}, {"abc", "616263"}, {std::string("\x00\xff\x10", 3), "00FF10"}, {"\xf1", "F1"},
  };
  for (const auto& c : casos) {
    EXPECT_EQ(CodificarHexadecimal(c.valor), c.texto);
    EXPECT_EQ(DecodificarHexadecimal(c.texto), c.valor);
  }
  struct {
    const char* texto;
    const char* valor;
  } lecturas[] = {
      {"6a6B", "jk"}, {"616", "a"}, {"6", ""}, {"61zz62", "a"}, {"61 62", "a"}, {"G1", ""}, {"61:2", "a"},
  };
  for (const auto& l : lecturas) EXPECT_EQ(DecodificarHexadecimal(l.texto), l.valor) << l.texto;
}

TEST(Hexadecimal, NombresSeparadosPorCeros) {
  const char buffer[] = "uno\0dos\0\0tres\0";
  EXPECT_EQ(NombresSeparadosPorCeros(buffer, sizeof(buffer) - 1), (std::vector<std::string>{"uno", "dos"}));
  EXPECT_TRUE(NombresSeparadosPorCeros(buffer, 0).empty());
  // A list cut at the buffer's end keeps what is whole and what is there.
  EXPECT_EQ(NombresSeparadosPorCeros(buffer, 5), (std::vector<std::string>{"uno", "d"}));
}
