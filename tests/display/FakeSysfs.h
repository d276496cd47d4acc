#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "support/TestData.h"

namespace velmar::testing {

// A sysfs tree: class/drm/cardN and class/drm/cardN-CONNECTOR are links into
// devices/, the card's "device" link leads to its PCI or platform device.
class FakeSysfs {
 public:
  explicit FakeSysfs(std::string folder) : root(std::move(folder)) {
    std::filesystem::create_directories(root + "/sys/class/drm");
    std::filesystem::create_directories(root + "/debug/dri");
    WriteTextFile(root + "/sys/class/drm/version", "drm 1.1.0 20060810\n");
  }

  // A card on a device under devices/<parent>/<device>.
  void AddCard(int number, const std::string& parent, const std::string& device, const std::string& subsystem,
               const std::string& driver, const std::string& vendor = "", const std::string& product = "") {
    const std::string deviceFolder = root + "/sys/devices/" + parent + "/" + device;
    const std::string card = "card" + std::to_string(number);
    std::filesystem::create_directories(deviceFolder + "/drm/" + card);
    std::filesystem::create_directories(root + "/sys/bus/" + subsystem + "/drivers/" + driver);
    const std::string up = Ups(parent) + "../../";  // from devices/<parent>/<device> to sys/
    std::filesystem::create_symlink(up + "bus/" + subsystem, deviceFolder + "/subsystem");
    std::filesystem::create_symlink(up + "bus/" + subsystem + "/drivers/" + driver, deviceFolder + "/driver");
    if (!vendor.empty()) WriteTextFile(deviceFolder + "/vendor", vendor + "\n");
    if (!product.empty()) WriteTextFile(deviceFolder + "/device", product + "\n");
    std::filesystem::create_symlink("../../../" + device, deviceFolder + "/drm/" + card + "/device");
    std::filesystem::create_symlink("../../devices/" + parent + "/" + device + "/drm/" + card,
                                    root + "/sys/class/drm/" + card);
    // A render node beside it: never an adapter.
    std::filesystem::create_directories(deviceFolder + "/drm/renderD" + std::to_string(128 + number));
    std::filesystem::create_symlink(
        "../../devices/" + parent + "/" + device + "/drm/renderD" + std::to_string(128 + number),
        root + "/sys/class/drm/renderD" + std::to_string(128 + number));
    cards[number] = deviceFolder + "/drm/" + card;
    cardLinks[number] = "../../devices/" + parent + "/" + device + "/drm/" + card;
  }

  // A connector of card `number`; `id` < 0 leaves out connector_id.
  void AddConnector(int number, const std::string& name, bool connected, const std::vector<uint8_t>& edid,
                    int id = -1) {
    const std::string entry = "card" + std::to_string(number) + "-" + name;
    const std::string folder = cards[number] + "/" + entry;
    std::filesystem::create_directories(folder);
    WriteTextFile(folder + "/status", connected ? "connected\n" : "disconnected\n");
    WriteTextFile(folder + "/edid", std::string(edid.begin(), edid.end()));
    WriteTextFile(folder + "/enabled", connected ? "enabled\n" : "disabled\n");
    if (id >= 0) WriteTextFile(folder + "/connector_id", std::to_string(id) + "\n");
    std::filesystem::create_symlink(cardLinks[number] + "/" + entry, root + "/sys/class/drm/" + entry);
    std::filesystem::create_directories(root + "/debug/dri/" + std::to_string(number) + "/" + name);
    WriteTextFile(OverrideFile(number, name), "");
  }

  std::string ConnectorFolder(int number, const std::string& name) const {
    return cards.at(number) + "/card" + std::to_string(number) + "-" + name;
  }
  std::string OverrideFile(int number, const std::string& name) const {
    return root + "/debug/dri/" + std::to_string(number) + "/" + name + "/edid_override";
  }

  std::string root;

 private:
  static std::string Ups(const std::string& parent) {
    std::string ups = "../";
    for (char c : parent) {
      if (c == '/') ups += "../";
    }
    return ups;
  }
  std::map<int, std::string> cards;
  std::map<int, std::string> cardLinks;
};

}  // namespace velmar::testing
