// The port-access library built for Linux, reached as the program reaches it: through
// Module1 and the binder, by its file name. No test asks for port access (as root it would
// be granted), so no test can touch a real port.
#include <gtest/gtest.h>

#include <cstdint>

#include "granted_ports.h"
#include "port_tool/module1.h"

namespace dotwall::port_tool {
namespace {

TEST(WinIo, IsFoundBesideTheProgramAndRefusesPortsThatWereNotGranted) {
    Module1 module1;
    ASSERT_EQ(module1.winIo.fileName(), "libWinIo.so");

    EXPECT_EQ(module1.SetPortVal(888, 48, 1), 0);
    std::uint32_t value = 12345;
    EXPECT_EQ(module1.GetPortVal(0x379, &value, 1), 0);
    EXPECT_EQ(value, 12345u);
    EXPECT_EQ(module1.GetPortVal(0x379, nullptr, 1), 0);
}

TEST(WinIo, AnAccessIsGrantedOnlyWhenEveryByteLiesOnTheParallelPort) {
    using winio::insideGrantedPorts;
    for (const std::uint16_t port : {0x378, 0x379, 0x37A}) {
        EXPECT_TRUE(insideGrantedPorts(port, 1)) << port;
    }
    EXPECT_TRUE(insideGrantedPorts(0x378, 2));
    EXPECT_TRUE(insideGrantedPorts(0x379, 2));
    EXPECT_FALSE(insideGrantedPorts(0x37A, 2));  // its second byte is 0x37B
    EXPECT_FALSE(insideGrantedPorts(0x378, 4));  // 0x37B again
    EXPECT_FALSE(insideGrantedPorts(0x377, 1));
    EXPECT_FALSE(insideGrantedPorts(0x37B, 1));
    EXPECT_FALSE(insideGrantedPorts(0xFFFF, 2));  // wraps past the last port
    for (const std::uint8_t size : {0, 3, 8, 255}) {
        EXPECT_FALSE(insideGrantedPorts(0x378, size)) << int{size};
    }
}

}  // namespace
}  // namespace dotwall::port_tool
