#include "dialogs/DIDisplayDeviceDlg.h"

#include "util/Format.h"

namespace velmar {

namespace {

constexpr unsigned kMaxPitch = 2550;

const std::vector<std::string> kLayouts = {
    "Not Specified",
    "R.G.B",
    "B.G.R",
    "Quad Pixel (R,B,2G), G at bottom left & top right",
    "Quad Pixel (2G,R,B), G at bottom right & top left",
};

const std::vector<std::string> kConfigurations = {
    "Not Specified", "Delta (Tri-ad)", "Stripe", "Stripe Offset", "Quad Pixel - 4 sub-pixels per displayed pixel",
};

const std::vector<std::string> kShapes = {"Not Specified", "Round", "Square", "Rectangular", "Oval", "Elliptical"};

const std::vector<std::string> kViews = {
    "Not Specified",
    "Direct View (e.g. CRT, rear projection, etc.)",
    "Reflected View (e.g. front projection, etc.)",
    "Direct & Reflected View (e.g. some projectors, etc.)",
};

const std::vector<std::string> kImplementations = {
    "Not Specified",
    "Large Image device for group viewing",
    "Desktop or personal display",
    "Eyepiece type personal display",
};

}  // namespace

DIDisplayDeviceDlg::DIDisplayDeviceDlg(std::string address, DiExtBlock& model)
    : DiSectionForm(std::move(address), "DI Display Device Section", model) {
  model_.GetDisplayDevice(stored_);
  AddGroup("sub-pixels", "Sub-Pixels", 0, 0);
  InGroup("sub-pixels");
  AddCodeList("layout", "Sub-Pixel Layout:", kLayouts, stored_.layout);
  AddCodeList("configuration", "Sub-Pixel Configuration:", kConfigurations, stored_.configuration);
  AddCodeList("shape", "Sub-Pixel Shape:", kShapes, stored_.shape);
  AddEdit("horizontal-pitch", "Horizontal Pitch:", Format("%u", stored_.horizontalPitch));
  AddEdit("vertical-pitch", "Vertical Pitch:", Format("%u", stored_.verticalPitch));
  AddGroup("characteristics", "Major Display Device Characteristics", 1, 0);
  InGroup("characteristics");
  AddCodeList("view-direction", "View Direction:", kViews, stored_.viewDirection);
  AddCodeList("physical-implementation", "Physical Implementation:", kImplementations,
              stored_.physicalImplementation);
  AddCheck("fixed-pixel-format", "Fixed Pixel Format", stored_.fixedPixelFormat);
  AddCheck("transparent-background", "Transparent Background", stored_.transparentBackground);
  AddCheck("ddc-ci", "DDC/CI Supported", stored_.ddcCi);
  Opened();
}

bool DIDisplayDeviceDlg::Read(DiDisplayDevice& device, std::string& message) const {
  device = stored_;
  ReadCheck("fixed-pixel-format", device.fixedPixelFormat);
  ReadCheck("transparent-background", device.transparentBackground);
  ReadCheck("ddc-ci", device.ddcCi);
  return ReadCode("layout", "Sub-Pixel Layout", 255, device.layout, message) &&
         ReadCode("configuration", "Sub-Pixel Configuration", 255, device.configuration, message) &&
         ReadCode("shape", "Sub-Pixel Shape", 255, device.shape, message) &&
         ReadNumber("horizontal-pitch", "Horizontal Pitch", 0, kMaxPitch, device.horizontalPitch, message) &&
         ReadNumber("vertical-pitch", "Vertical Pitch", 0, kMaxPitch, device.verticalPitch, message) &&
         ReadCode("view-direction", "View Direction", 3, device.viewDirection, message) &&
         ReadCode("physical-implementation", "Physical Implementation", 3, device.physicalImplementation, message);
}

std::string DIDisplayDeviceDlg::Check() {
  DiDisplayDevice device;
  std::string message;
  Read(device, message);
  return message;
}

void DIDisplayDeviceDlg::Apply() {
  DiDisplayDevice device;
  std::string message;
  if (Read(device, message)) model_.SetDisplayDevice(device);
}

}  // namespace velmar
