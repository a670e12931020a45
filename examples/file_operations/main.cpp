// A caller of the installed library: opens a home made by `rvdlg init` and
// undoes the check-out of one file through rvUncheckoutOp, with every window
// answered by the automatic host; prints the entry's result.
//
//   file_operations HOME FILE
//
// FILE is a library pathname (\\view\sample_view\public\src\util.c) or a file
// inside a view's directory under HOME.
#include <rvcmndlg/rvcmndlg.h>

#include <filesystem>
#include <iostream>
#include <memory>
#include <string>

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: file_operations HOME FILE\n";
    return 2;
  }
  std::string error;
  const auto home = rvcmndlg::Home::Open(argv[1], &error);
  if (!home) {
    std::cerr << "file_operations: " << error << "\n";
    return 1;
  }
  std::string file = argv[2];
  if (std::filesystem::exists(file))
    if (const auto name = plat::FromHostPath(std::filesystem::absolute(file))) file = *name;

  plat::SetUiHost(std::make_shared<plat::AutomaticHost>(&std::cout));
  CFileOperationList list;
  list.AddFile(file);
  const int succeeded = rvUncheckoutOp(list, nullptr, 0);
  plat::SetUiHost(nullptr);

  std::cout << "rvcmndlg " << RVCMNDLG_VERSION << ": rvUncheckoutOp returned " << succeeded << "\n";
  std::cout << list.Entry(0)->m_path << ": " << (succeeded == 1 ? "check-out undone" : list.Entry(0)->Messages())
            << "\n";
  return succeeded == 1 ? 0 : 1;
}
