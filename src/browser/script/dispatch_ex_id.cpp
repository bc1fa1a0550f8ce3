// mingw's import libraries lack the identifier of IDispatchEx, which every
// object of the page answers. Defined select-any, so another definition of
// the same identifier links beside it.
#include <windows.h>

#include <initguid.h>

// {A6EF9860-C720-11D0-9337-00A0C90DCAA9}
DEFINE_GUID(IID_IDispatchEx, 0xa6ef9860, 0xc720, 0x11d0, 0x93, 0x37, 0x00, 0xa0, 0xc9, 0x0d, 0xca, 0xa9);
