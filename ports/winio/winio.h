/* Port access for user programs: the functions of the WinIo library, built for Linux, and
 * one of this project's own that a port library may add.
 *
 * Port I/O (x86 only; elsewhere every function reports failure):
 *   InitializeWinIo asks the kernel for the parallel port's registers 0x378 to 0x37A
 *   (ioperm, never iopl) and returns non-zero only when they were granted, which needs root
 *   or the capability CAP_SYS_RAWIO. The kernel keeps the access per thread; another thread
 *   of the process gets its own on its first access, when the kernel grants it.
 *   SetPortVal and GetPortVal make one access of 1, 2 or 4 bytes. One that reaches outside
 *   the granted ports, or comes before InitializeWinIo, after ShutdownWinIo, or from a
 *   thread the kernel refuses, returns 0 and touches no port. A value wider than the access
 *   is cut to its low bytes.
 *   ShutdownWinIo gives the ports back.
 *
 * Physical memory and the driver: MapPhysToLin, UnmapPhysicalMemory, GetPhysLong,
 * SetPhysLong, InstallWinIoDriver and RemoveWinIoDriver are not provided on Linux and
 * always report failure (0, or a null pointer from MapPhysToLin). The kernel itself grants
 * port access, so there is no driver to install.
 *
 * Results: non-zero for success, 0 for failure.
 *
 * Why a call failed (optional; the USB adapter's library has it): DotwallPortError returns
 * why the calling thread's last call into the library was refused, in sentences for a
 * person, such as the adapter unplugged with libusb's error, or "" when it has nothing to
 * add. The text stays as it is until that thread's next call. A program binds it only when
 * the library has it, and adds what it says to its own message.
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
