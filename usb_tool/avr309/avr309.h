/* The USB-to-I/O board's library as DotwallUsb binds it: 26 functions with C linkage.
 *
 * This build is a stand-in for machines without the board. It does not talk to any
 * hardware: each call of the three functions DotwallUsb uses is written as one line to
 * standard error, with the function's name and its arguments in decimal, and returns 0
 * (DoI2CRead leaves its four bytes as they were). The other functions return -1.
 * A real board's library of the same file name takes its place when it comes first in the
 * library search (LD_LIBRARY_PATH) or lies beside the program. */
#ifndef DOTWALL_AVR309_H
#define DOTWALL_AVR309_H

#include <stdint.h>

#define AVR309_API __attribute__((visibility("default")))

#ifdef __cplusplus
extern "C" {
#endif

AVR309_API int32_t DoLCDOut(uint8_t first, uint8_t second, uint8_t third, uint8_t fourth);
AVR309_API int32_t DoI2CRead(uint8_t* first, uint8_t* second, uint8_t* third, uint8_t* fourth);
AVR309_API int32_t DoI2CWrite(uint8_t value);

/* Not used by DotwallUsb; the stand-in answers each with -1. */
AVR309_API int32_t DoGetInfraCode(void);
AVR309_API int32_t DoSetDataPortDirection(void);
AVR309_API int32_t DoGetDataPortDirection(void);
AVR309_API int32_t DoSetOutDataPort(void);
AVR309_API int32_t DoGetOutDataPort(void);
AVR309_API int32_t DoGetInDataPort(void);
AVR309_API int32_t DoSetDataPortDirections(void);
AVR309_API int32_t DoGetDataPortDirections(void);
AVR309_API int32_t DoSetOutDataPorts(void);
AVR309_API int32_t DoGetOutDataPorts(void);
AVR309_API int32_t DoGetInDataPorts(void);
AVR309_API int32_t DoRS232Send(void);
AVR309_API int32_t DoRS232Read(void);
AVR309_API int32_t DoSetRS232Baud(void);
AVR309_API int32_t DoGetRS232Baud(void);
AVR309_API int32_t DoGetRS232Buffer(void);
AVR309_API int32_t DoRS232BufferSend(void);
AVR309_API int32_t DoSetRS232DataBits(void);
AVR309_API int32_t DoGetRS232DataBits(void);
AVR309_API int32_t DoSetRS232Parity(void);
AVR309_API int32_t DoGetRS232Parity(void);
AVR309_API int32_t DoSetRS232StopBits(void);
AVR309_API int32_t DoGetRS232StopBits(void);

#ifdef __cplusplus
}
#endif

#endif
