#include "link/client_messages.h"

#include <gtest/gtest.h>

namespace meldlux {
namespace {

using namespace client_messages;

TEST(ClientMessages, HaveTheirExactBytes) {
  EXPECT_EQ(toWire(login(QStringLiteral("geheim"))), QByteArray("PASS:geheim\r\n"));
  EXPECT_EQ(toWire(keepalive()), QByteArray(" "));
  EXPECT_EQ(toWire(disconnectRequest()), QByteArray("Exit\r\n"));
  EXPECT_EQ(toWire(shutdownNotice()), QByteArray("XXX\r\n"));
}

TEST(ClientMessages, PasswordTravelsAsTypedInWindows1252) {
  // Umlauts, the euro sign and blanks go out as single bytes, nothing trimmed or escaped.
  EXPECT_EQ(toWire(login(QStringLiteral(" Paßwörd €1 "))), QByteArray("PASS: Pa\xDFw\xF6rd \x80"
                                                                      "1 \r\n"));
  EXPECT_EQ(toWire(login(QString())), QByteArray("PASS:\r\n"));
}

} // namespace
} // namespace meldlux
