#include "app/view/VelmarEDIDUtility.h"

int main(int argc, char** argv) {
  velmar::VelmarEDIDUtility application;
  return application.Run(argc, argv);
}
