// Feeds arbitrary bytes to the component stream reader: every input must end in a read or in
// an exception derived from Exception, with nothing leaked.
#include <cstddef>
#include <cstdint>

#include "platform/classes/tests/StreamFixtures.h"
#include "platform/classes/Reader.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Streams.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
  StreamFixtures::Register();
  TMemoryStream stream;
  if (size) stream.WriteBuffer(data, static_cast<Int64>(size));
  stream.SetPosition(0);
  // A fresh root each time: the reader creates it from the class named in the stream.
  try {
    TComponent* root = Classes::ReadComponent(&stream, nullptr);
    delete root;
  } catch (const Exception&) {}
  return 0;
}
