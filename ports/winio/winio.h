/* Port access for user programs: the functions of the WinIo library, built for Linux, and
 * one of this project's own. Every port library of the project (the parallel port's, the
 * virtual panel's, the USB adapter's: ports/parallel, ports/virtual, ports/ftdi) is a file
 * libWinIo.so with these functions, so a program runs on any of them unchanged; what each
 * one's device is and does is told in its own header (parallel_port.h, virtual_port.h,
 * adapter.h).
 *
 * Results: non-zero for success, 0 for failure.
 *
 * Port I/O:
 *   InitializeWinIo opens the library's device and returns non-zero when it is open; when it
 *   cannot be opened, it says why and what to do in one line on standard error, named with
 *   the library ("libWinIo.so (FTDI): ..."), leaves nothing open and returns 0. Once open,
 *   another call changes nothing and succeeds.
 *   SetPortVal and GetPortVal make one access of `size` bytes at `port`; GetPortVal of the
 *   data register (0x378, data_register.h) gives the last byte written. One that comes
 *   before InitializeWinIo or after ShutdownWinIo, or that the device is not wired to,
 *   returns 0 and touches nothing, as a port that was not granted; so does a GetPortVal
 *   without a place for the value. The virtual panel and the USB adapter are wired to one
 *   byte at the data register alone; the parallel port's library takes 1, 2 or 4 bytes
 *   within its registers 0x378 to 0x37A. A value wider than the access is cut to its low
 *   bytes. When the device stops taking writes (an adapter unplugged), SetPortVal returns 0
 *   from then on, and the library says why once on standard error.
 *   ShutdownWinIo finishes what the device has under way, says on standard error what a
 *   person should hear of the run, and closes the device; it always succeeds.
 *
 * Physical memory and the driver: MapPhysToLin, UnmapPhysicalMemory, GetPhysLong,
 * SetPhysLong, InstallWinIoDriver and RemoveWinIoDriver are not provided on Linux and
 * always report failure (0, or a null pointer from MapPhysToLin). The kernel itself grants
 * port access, so there is no driver to install.
 *
 * Why a call failed: DotwallPortError returns why the calling thread's last call into the
 * library was refused, in sentences for a person, such as the adapter unplugged with
 * libusb's error, or "" when it has nothing to add. The text stays as it is until that
 * thread's next refused call. Libraries from elsewhere lack it: a program binds it only
 * when the library has it, and adds what it says to its own message.
 */
#ifndef DOTWALL_WINIO_H
#define DOTWALL_WINIO_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

int16_t InitializeWinIo(void);
int16_t ShutdownWinIo(void);
int16_t GetPortVal(uint16_t port, uint32_t* value, uint8_t size);
int16_t SetPortVal(uint16_t port, uint32_t value, uint8_t size);

uint8_t* MapPhysToLin(uint8_t* physicalAddress, uint32_t size, void** physicalMemoryHandle);
int16_t UnmapPhysicalMemory(void* physicalMemoryHandle, uint8_t* linearAddress);
int16_t GetPhysLong(uint8_t* physicalAddress, uint32_t* value);
int16_t SetPhysLong(uint8_t* physicalAddress, uint32_t value);
int16_t InstallWinIoDriver(const char* driverPath, int16_t demandLoaded);
int16_t RemoveWinIoDriver(void);

const char* DotwallPortError(void);

#ifdef __cplusplus
}
#endif

#endif
