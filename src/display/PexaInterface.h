#pragma once

// The binary interface of the Pexa display library: the entry points the
// program resolves by name and the records they exchange. Our own libraries
// (the kernel-backed libtovuxy.so and the simulated one of the tests) are built
// against this header, the program reads the records through it.

#include <cstddef>
#include <cstdint>

namespace velmar::pexa {

// Every entry point answers 0 for success.
inline constexpr int kOk = 0;
inline constexpr int kFailed = -1;

inline constexpr int kMaxAdapters = 20;
inline constexpr int kTextLength = 256;
inline constexpr int kEdidChunkSize = 256;
inline constexpr int kMaxOverrideLength = 512;
inline constexpr int32_t kOverrideRequest = 0x130032;
inline constexpr int32_t kDisplayConnected = 0x1;  // bit 0 of DisplayRecord::infoValue

// One graphics adapter (1572 bytes).
struct AdapterRecord {
  int32_t size;
  int32_t adapterIndex;
  char udid[kTextLength];
  int32_t bus;
  int32_t device;
  int32_t function;
  int32_t vendorId;
  char adapterName[kTextLength];
  char name[kTextLength];
  int32_t present;
  int32_t exists;
  char driverPath[kTextLength];
  char driverPathExt[kTextLength];
  char pnpString[kTextLength];
  int32_t osDisplayIndex;
};
static_assert(sizeof(AdapterRecord) == 1572);
static_assert(offsetof(AdapterRecord, adapterIndex) == 4);
static_assert(offsetof(AdapterRecord, bus) == 264);
static_assert(offsetof(AdapterRecord, device) == 268);
static_assert(offsetof(AdapterRecord, function) == 272);
static_assert(offsetof(AdapterRecord, name) == 536);
static_assert(offsetof(AdapterRecord, exists) == 796);
static_assert(offsetof(AdapterRecord, driverPath) == 800);

// One display of an adapter (552 bytes).
struct DisplayRecord {
  int32_t displayIndex;
  int32_t physicalIndex;
  int32_t adapterIndex;
  int32_t physicalAdapterIndex;
  int32_t controllerIndex;
  char name[kTextLength];
  char manufacturer[kTextLength];
  int32_t type;
  int32_t outputType;
  int32_t connector;
  int32_t infoMask;
  int32_t infoValue;
};
static_assert(sizeof(DisplayRecord) == 552);
static_assert(offsetof(DisplayRecord, adapterIndex) == 8);
static_assert(offsetof(DisplayRecord, name) == 20);
static_assert(offsetof(DisplayRecord, infoValue) == 548);

// One answer of Pexa_Display_EdidData_Get (288 bytes): `size` = 288 and
// `blockIndex` in, `edidSize` and `data` out.
struct EdidRecord {
  int32_t size;
  int32_t flags;
  int32_t edidSize;
  int32_t blockIndex;
  uint8_t data[kEdidChunkSize];
  int32_t reserved[4];
};
static_assert(sizeof(EdidRecord) == 288);
static_assert(offsetof(EdidRecord, data) == 16);

// The input of the EDID override request sent through Send (540 bytes).
struct OverrideInput {
  int32_t size;         // 540
  int32_t requestCode;  // kOverrideRequest
  int32_t displayIndex;
  int32_t reserved0;
  int32_t payloadSize;  // 524
  int32_t edidLength;   // at most 512
  uint8_t edid[kMaxOverrideLength];
  int32_t reserved1;
};
static_assert(sizeof(OverrideInput) == 540);
static_assert(offsetof(OverrideInput, edidLength) == 20);
static_assert(offsetof(OverrideInput, edid) == 24);
inline constexpr int32_t kOverridePayloadSize = 524;

// The request header of Send. It holds pointers, so it is the natural C struct
// of its fields: 24 bytes where pointers take 4 bytes, 40 on a 64-bit system.
struct RequestHeader {
  int32_t adapterIndex;
  int32_t inputSize;
  void* input;
  int32_t outputSize;
  void* output;
  int32_t reserved;
};

extern "C" {
// Allocates `byteCount` bytes for an array the library hands back; the program frees it.
typedef void* (*AllocateFunction)(int byteCount);

typedef int (*MainControlCreateFunction)(AllocateFunction allocate, int connectedOnly);
typedef int (*MainControlDestroyFunction)();
typedef int (*NumberOfAdaptersGetFunction)(int* count);
typedef int (*AdapterInfoGetFunction)(AdapterRecord* records, int byteSize);
typedef int (*DisplayInfoGetFunction)(int adapterIndex, int* count, DisplayRecord** records, int forceDetect);
typedef int (*EdidDataGetFunction)(int adapterIndex, int displayIndex, EdidRecord* record);
typedef int (*SendFunction)(RequestHeader* header);
// Optional: the text of the library's last failure, terminated, cut to `size`.
typedef int (*LastErrorGetFunction)(char* buffer, int size);
// Optional: the kernel's name of a display's connector ("card0-HDMI-A-1"),
// terminated, cut to `size`; fails for a display the library does not know.
typedef int (*ConnectorNameGetFunction)(int adapterIndex, int displayIndex, char* buffer, int size);
}

inline constexpr const char* kMainControlCreate = "Pexa_Main_Control_Create";
inline constexpr const char* kMainControlDestroy = "Pexa_Main_Control_Destroy";
inline constexpr const char* kNumberOfAdaptersGet = "Pexa_Adapter_NumberOfAdapters_Get";
inline constexpr const char* kAdapterInfoGet = "Pexa_Adapter_AdapterInfo_Get";
inline constexpr const char* kDisplayInfoGet = "Pexa_Display_DisplayInfo_Get";
inline constexpr const char* kEdidDataGet = "Pexa_Display_EdidData_Get";
inline constexpr const char* kSend = "Send";
inline constexpr const char* kLastErrorGet = "Pexa_LastError_Get";
inline constexpr const char* kConnectorNameGet = "Pexa_Display_ConnectorName_Get";

}  // namespace velmar::pexa
