#include "pcdevices.h"

SIoRange CPcDevices::SystemRange() {
    return {0x000, 0x0ff};
}

const char* CPcDevices::SystemRangeUsers() {
    return "DMA, interrupt controllers, timer, keyboard, real-time clock";
}

const std::vector<SPcDevice>& CPcDevices::LegacyDevices() {
    static const std::vector<SPcDevice> devices{
        {{0x170, 0x177}, "the secondary IDE controller"},
        {{0x1f0, 0x1f7}, "the primary IDE controller"},
        {{0x376, 0x376}, "the secondary IDE controller"},
        {{0x3f6, 0x3f6}, "the primary IDE controller"},
        {{0x278, 0x27f}, "the printer port at 0x278"},
        {{0x378, 0x37f}, "the printer port at 0x378"},
        {{0x3bc, 0x3bf}, "the printer port at 0x3bc"},
        {{0x3b0, 0x3df}, "the video adapter"},
        {{0x3f0, 0x3f7}, "the floppy controller"},
        {{0x2e8, 0x2ef}, "the built-in COM4"},
        {{0x2f8, 0x2ff}, "the built-in COM2"},
        {{0x3e8, 0x3ef}, "the built-in COM3"},
        {{0x3f8, 0x3ff}, "the built-in COM1"},
    };
    return devices;
}

const char* CPcDevices::SystemInterruptUser(unsigned irq) {
    switch (irq) {
    case 0:
        return "the system timer";
    case 1:
        return "the keyboard";
    case 2:
        return "the cascade of the second interrupt controller";
    case 8:
        return "the real-time clock";
    case 13:
        return "the coprocessor";
    default:
        return nullptr;
    }
}

const char* CPcDevices::LegacyInterruptUser(unsigned irq) {
    switch (irq) {
    case 6:
        return "the floppy controller";
    case 12:
        return "the PS/2 mouse";
    case 14:
        return "the primary IDE controller";
    case 15:
        return "the secondary IDE controller";
    default:
        return nullptr;
    }
}
