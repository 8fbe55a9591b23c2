#pragma once
// The synthetic demo client, written once per test program by the demo data
// library into a temporary folder. Returns the folder ("" if it could not be
// written; tests then skip).
#include <string>

namespace tavi::test {

const std::string& DemoClientDir();

}  // namespace tavi::test
