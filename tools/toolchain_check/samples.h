#pragma once

extern const unsigned char kSampleJpeg[];
extern const unsigned kSampleJpeg_size;
extern const unsigned char kSampleZip[];
extern const unsigned kSampleZip_size;
