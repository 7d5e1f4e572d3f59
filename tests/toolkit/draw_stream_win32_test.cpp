// The read-only stream GDI+ decodes resources from: its exact answers.
#include <gtest/gtest.h>

#include <cstring>

#include "toolkit/platform/win32/resource_stream.h"

using Toolkit::platform::ResourceStream;

namespace {

LARGE_INTEGER at(LONGLONG v) {
  LARGE_INTEGER l;
  l.QuadPart = v;
  return l;
}

TEST(DrawResourceStream, ReadsAllOrNothing) {
  const unsigned char data[] = {1, 2, 3, 4, 5, 6};
  auto* stream = new ResourceStream(data, sizeof data);
  unsigned char buffer[8] = {};
  ULONG read = 99;
  EXPECT_EQ(stream->Read(buffer, 4, &read), S_OK);
  EXPECT_EQ(read, 4u);
  EXPECT_EQ(buffer[3], 4);
  buffer[0] = 0;
  EXPECT_EQ(stream->Read(buffer, 3, &read), S_FALSE) << "past the end";
  EXPECT_EQ(read, 0u);
  EXPECT_EQ(buffer[0], 0) << "nothing copied";
  EXPECT_EQ(stream->getPosition(), 4u);
  EXPECT_EQ(stream->Read(buffer, 0xffffffffu, &read), S_FALSE) << "a count that would wrap the position";
  EXPECT_EQ(stream->Read(buffer, 2, nullptr), S_OK);
  EXPECT_EQ(buffer[1], 6);
  EXPECT_EQ(stream->Revert(), S_OK);
  EXPECT_EQ(stream->getPosition(), 0u);
  EXPECT_EQ(stream->Release(), 0u);
}

TEST(DrawResourceStream, SeeksOnlyInsideTheData) {
  const unsigned char data[10] = {};
  auto* stream = new ResourceStream(data, sizeof data);
  ULARGE_INTEGER pos;
  pos.QuadPart = 77;
  EXPECT_EQ(stream->Seek(at(9), STREAM_SEEK_SET, &pos), S_OK);
  EXPECT_EQ(pos.QuadPart, 9u);
  EXPECT_EQ(stream->Seek(at(10), STREAM_SEEK_SET, &pos), S_FALSE) << "exactly the end is refused";
  EXPECT_EQ(stream->Seek(at(-1), STREAM_SEEK_SET, &pos), S_FALSE);
  EXPECT_EQ(stream->getPosition(), 9u);
  EXPECT_EQ(stream->Seek(at(-4), STREAM_SEEK_CUR, &pos), S_OK);
  EXPECT_EQ(pos.QuadPart, 5u);
  EXPECT_EQ(stream->Seek(at(5), STREAM_SEEK_CUR, nullptr), S_FALSE);
  EXPECT_EQ(stream->Seek(at(-6), STREAM_SEEK_CUR, nullptr), S_FALSE);
  EXPECT_EQ(stream->Seek(at(0), STREAM_SEEK_END, nullptr), S_FALSE) << "from the end: always refused";
  EXPECT_EQ(stream->Seek(at(0), 3, nullptr), STG_E_INVALIDFUNCTION);
  EXPECT_EQ(stream->getPosition(), 5u);
  stream->Release();
}

TEST(DrawResourceStream, AnswersItsInterfacesAndSize) {
  const unsigned char data[3] = {};
  auto* stream = new ResourceStream(data, sizeof data);
  void* object = nullptr;
  EXPECT_EQ(stream->QueryInterface(IID_IStream, &object), S_OK);
  EXPECT_EQ(object, static_cast<IStream*>(stream));
  EXPECT_EQ(stream->QueryInterface(IID_ISequentialStream, &object), S_OK);
  EXPECT_EQ(stream->QueryInterface(IID_IUnknown, &object), S_OK);
  EXPECT_EQ(stream->QueryInterface(IID_IDispatch, &object), E_NOINTERFACE);
  EXPECT_EQ(object, nullptr);
  EXPECT_EQ(stream->Release(), 3u);
  EXPECT_EQ(stream->Release(), 2u);
  EXPECT_EQ(stream->AddRef(), 3u);
  STATSTG stat;
  std::memset(&stat, 0xab, sizeof stat);
  EXPECT_EQ(stream->Stat(&stat, STATFLAG_NONAME), S_OK);
  EXPECT_EQ(stat.cbSize.QuadPart, 3u);
  EXPECT_EQ(stat.pwcsName, nullptr);
  EXPECT_EQ(stat.type, 0u);
  EXPECT_EQ(stream->Write(data, 1, nullptr), E_NOTIMPL);
  stream->Release();
  stream->Release();
  EXPECT_EQ(stream->Release(), 0u);
}

}  // namespace
