#include "platform/resources/image_plan.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "platform/resources/moved_pointers.h"

namespace vexmar::resources {
namespace {

constexpr uint64_t kMaxImage = 0xFFFFFFFFull;

struct Range {
  uint64_t begin = 0;
  uint64_t end = 0;
  bool Contains(uint64_t at) const { return at >= begin && at < end; }
};

Range SectionRange(const SectionHeader& section) {
  return {section.virtualAddress, uint64_t{section.virtualAddress} + section.MappedSize()};
}

// The end of the mapped image as SizeOfImage should state it.
uint64_t ImageEnd(const std::vector<SectionHeader>& sections, uint64_t section_alignment) {
  uint64_t end = 0;
  for (const SectionHeader& section : sections) {
    end = std::max(end, AlignUp(section.virtualAddress + section.MappedSize(), section_alignment));
  }
  return end;
}

class Planner {
 public:
  Planner(ByteSource& input, const PeImage& image, int resource_section, uint64_t tree_size)
      : input_(input),
        image_(image),
        index_(resource_section),
        treeSize_(tree_size),
        treeRaw_(AlignUp(tree_size, image.fileAlignment)),
        sections_(image.sections) {}

  Result<ImagePlan> Plan() {
    const DataDirectory certificate = image_.Directory(kCertificateDirectory);
    if (certificate.rva != 0 || certificate.size != 0) {
      // Any change to the file breaks the signature; a table left behind
      // would only make Windows report a damaged file instead of an
      // unsigned one. So the table goes, and the caller is told.
      plan_.signatureRemoved = true;
      PatchDirectory(kCertificateDirectory, 0, 0);
      // Its bytes are dropped only where a table can be: after the last
      // section. A directory pointing anywhere else is damaged, and cutting
      // there would cut into the image itself.
      const Range table{certificate.rva, uint64_t{certificate.rva} + certificate.size};
      if (table.begin >= image_.SectionDataEnd() && table.end <= image_.fileSize) {
        certificate_ = table;
      }
    }
    bool placed = false;
    if (index_ >= 0 && SectionIsOwned()) {
      placed = TryResizeLast() || TryMoveFollowing() || TryRewriteInSection();
    }
    if (!placed) {
      if (auto status = AppendSection(); !status) {
        return status.error();
      }
    }
    FixMovedFilePointers(input_, image_, plan_, vaDelta_, movedVaBegin_);
    PatchCommonFields();
    uint64_t size = 0;
    for (const OutputPiece& piece : plan_.pieces) {
      size += piece.length;
    }
    if (size > kMaxImage) {
      return Fail("the image would exceed 4 GiB");
    }
    plan_.outputSize = size;
    return std::move(plan_);
  }

 private:
  const SectionHeader& Resource() const { return image_.sections[static_cast<size_t>(index_)]; }

  // The resource section may be rewritten only when nothing but the
  // resource tree (and the certificate table, a file offset) points into it.
  bool SectionIsOwned() const {
    const Range range = SectionRange(Resource());
    for (size_t i = 0; i < image_.directories.size(); ++i) {
      const DataDirectory& directory = image_.directories[i];
      if (i == kResourceDirectory || i == kCertificateDirectory || directory.rva == 0) {
        continue;
      }
      if (range.Contains(directory.rva)) {
        return false;
      }
    }
    // Its file data must be its own too: not inside the headers and not
    // shared with another section, or rewriting it would damage those.
    const SectionHeader& resource = Resource();
    if (resource.rawPointer % image_.fileAlignment != 0 ||
        resource.rawPointer < image_.SectionHeaderOffset(image_.sections.size()) ||
        resource.rawPointer < image_.sizeOfHeaders) {
      return false;
    }
    for (size_t i = 0; i < image_.sections.size(); ++i) {
      const SectionHeader& other = image_.sections[i];
      if (static_cast<int>(i) != index_ && other.rawSize != 0 &&
          other.rawPointer < resource.RawEnd() && resource.rawPointer < other.RawEnd()) {
        return false;
      }
    }
    return true;
  }

  bool IsAfterResource(const SectionHeader& section) const {
    return section.virtualAddress > Resource().virtualAddress;
  }

  bool TryResizeLast() {
    const SectionHeader& resource = Resource();
    for (size_t i = 0; i < image_.sections.size(); ++i) {
      const SectionHeader& section = image_.sections[i];
      if (static_cast<int>(i) != index_ &&
          (IsAfterResource(section) ||
           (section.rawSize != 0 && section.rawPointer >= resource.rawPointer))) {
        return false;
      }
    }
    plan_.placement = Placement::kResizedInPlace;
    ReplaceResourceData(std::max(resource.RawEnd(), image_.SectionDataEnd()));
    return true;
  }

  // .reloc holds RVAs of other sections and discardable sections hold
  // debug data; neither is referred to by code, so both may move.
  bool IsMovable(const SectionHeader& section) const {
    if (section.Name() != ".reloc" && (section.characteristics & kSectionDiscardable) == 0) {
      return false;
    }
    const Range range = SectionRange(section);
    for (size_t i = 0; i < image_.directories.size(); ++i) {
      const DataDirectory& directory = image_.directories[i];
      if (i == kCertificateDirectory || i == kRelocationDirectory || i == kDebugDirectory ||
          directory.rva == 0) {
        continue;
      }
      if (range.Contains(directory.rva)) {
        return false;
      }
    }
    return true;
  }

  bool TryMoveFollowing() {
    const SectionHeader& resource = Resource();
    uint64_t first_va = std::numeric_limits<uint64_t>::max();
    uint64_t first_raw = image_.SectionDataEnd();
    for (size_t i = 0; i < image_.sections.size(); ++i) {
      const SectionHeader& section = image_.sections[i];
      if (static_cast<int>(i) == index_) {
        continue;
      }
      if (IsAfterResource(section)) {
        if (!IsMovable(section) ||
            (section.rawSize != 0 && section.rawPointer < resource.RawEnd())) {
          return false;
        }
        first_va = std::min<uint64_t>(first_va, section.virtualAddress);
        if (section.rawSize != 0) {
          first_raw = std::min<uint64_t>(first_raw, section.rawPointer);
        }
      } else if (section.rawSize != 0 && section.rawPointer >= resource.rawPointer) {
        return false;  // a section that stays in VA but follows in the file
      }
    }
    if (first_raw % image_.fileAlignment != 0) {
      return false;
    }
    const uint64_t new_first_va =
        AlignUp(resource.virtualAddress + std::max(treeSize_, treeRaw_), image_.sectionAlignment);
    vaDelta_ = static_cast<int64_t>(new_first_va) - static_cast<int64_t>(first_va);
    movedVaBegin_ = first_va;
    plan_.placement = Placement::kFollowingMoved;
    ReplaceResourceData(first_raw);
    for (size_t i = 0; i < sections_.size(); ++i) {
      if (IsAfterResource(image_.sections[i])) {
        SectionHeader& section = sections_[i];
        section.virtualAddress =
            static_cast<uint32_t>(static_cast<int64_t>(section.virtualAddress) + vaDelta_);
        PatchU32(image_.SectionHeaderOffset(i) + section_header::kVirtualAddress,
                 section.virtualAddress);
      }
    }
    for (size_t i = 0; i < image_.directories.size(); ++i) {
      const DataDirectory& directory = image_.directories[i];
      if (i != kCertificateDirectory && directory.rva >= first_va && directory.rva != 0) {
        PatchDirectory(i, static_cast<uint32_t>(static_cast<int64_t>(directory.rva) + vaDelta_),
                       directory.size);
      }
    }
    return true;
  }

  bool TryRewriteInSection() {
    const SectionHeader& resource = Resource();
    uint64_t room = std::numeric_limits<uint64_t>::max();
    for (const SectionHeader& section : sections_) {
      if (IsAfterResource(section)) {
        room = std::min<uint64_t>(room, section.virtualAddress - resource.virtualAddress);
      }
    }
    if (treeSize_ > resource.rawSize || treeSize_ > room) {
      return false;
    }
    plan_.placement = Placement::kRewrittenInSection;
    plan_.treeRva = resource.virtualAddress;
    plan_.treePieceSize = resource.rawSize;
    AddInput(0, resource.rawPointer);
    plan_.pieces.push_back({OutputPiece::Kind::kTree, 0, resource.rawSize});
    AddInput(resource.RawEnd(), image_.fileSize);
    sections_[static_cast<size_t>(index_)].virtualSize = static_cast<uint32_t>(treeSize_);
    PatchU32(image_.SectionHeaderOffset(static_cast<size_t>(index_)) + section_header::kVirtualSize,
             static_cast<uint32_t>(treeSize_));
    PatchDirectory(kResourceDirectory, plan_.treeRva, static_cast<uint32_t>(treeSize_));
    return true;
  }

  // The resource section keeps its start and takes the tree's size; input
  // from `resume_at` on follows it.
  void ReplaceResourceData(uint64_t resume_at) {
    const SectionHeader& resource = Resource();
    plan_.treeRva = resource.virtualAddress;
    plan_.treePieceSize = treeRaw_;
    AddInput(0, resource.rawPointer);
    plan_.pieces.push_back({OutputPiece::Kind::kTree, 0, treeRaw_});
    AddInput(resume_at, image_.fileSize);
    const size_t i = static_cast<size_t>(index_);
    sections_[i].virtualSize = static_cast<uint32_t>(treeSize_);
    sections_[i].rawSize = static_cast<uint32_t>(treeRaw_);
    PatchU32(image_.SectionHeaderOffset(i) + section_header::kVirtualSize,
             static_cast<uint32_t>(treeSize_));
    PatchU32(image_.SectionHeaderOffset(i) + section_header::kSizeOfRawData,
             static_cast<uint32_t>(treeRaw_));
    PatchDirectory(kResourceDirectory, plan_.treeRva, static_cast<uint32_t>(treeSize_));
    initializedDelta_ = static_cast<int64_t>(treeRaw_) - static_cast<int64_t>(resource.rawSize);
  }

  Status AppendSection() {
    if (image_.directories.size() <= kResourceDirectory) {
      return Fail("the headers have no resource directory entry (NumberOfRvaAndSizes < 3)");
    }
    const uint64_t slot = image_.SectionHeaderOffset(image_.sections.size());
    uint64_t first_data = image_.sizeOfHeaders;
    for (const SectionHeader& section : image_.sections) {
      if (section.rawSize != 0) {
        first_data = std::min<uint64_t>(first_data, section.rawPointer);
      }
    }
    if (slot + section_header::kSize > first_data ||
        image_.sections.size() >= section_header::kMaxCount) {
      return Fail("not enough room in the headers to add a resource section");
    }
    const DataDirectory bound = image_.Directory(kBoundImportDirectory);
    if (bound.rva != 0 && bound.rva < slot + section_header::kSize &&
        uint64_t{bound.rva} + bound.size > slot) {
      // Bound imports only save the loader some work; without them it
      // resolves imports as usual.
      PatchDirectory(kBoundImportDirectory, 0, 0);
    }
    const uint64_t data_end = image_.SectionDataEnd();
    const uint64_t raw_pointer = AlignUp(data_end, image_.fileAlignment);
    const uint64_t rva =
        AlignUp(ImageEnd(image_.sections, image_.sectionAlignment), image_.sectionAlignment);
    if (rva + AlignUp(treeSize_, image_.sectionAlignment) > kMaxImage) {
      return Fail("the image would exceed 4 GiB");
    }
    plan_.placement = Placement::kNewSection;
    plan_.treeRva = static_cast<uint32_t>(rva);
    plan_.treePieceSize = treeRaw_;
    AddInput(0, data_end);
    if (raw_pointer > data_end) {
      plan_.pieces.push_back({OutputPiece::Kind::kZeros, 0, raw_pointer - data_end});
    }
    plan_.pieces.push_back({OutputPiece::Kind::kTree, 0, treeRaw_});
    AddInput(data_end, image_.fileSize);

    SectionHeader section;
    std::memcpy(section.name.data(), ".rsrc\0\0\0", section_header::kNameSize);
    section.virtualSize = static_cast<uint32_t>(treeSize_);
    section.virtualAddress = static_cast<uint32_t>(rva);
    section.rawSize = static_cast<uint32_t>(treeRaw_);
    section.rawPointer = static_cast<uint32_t>(raw_pointer);
    section.characteristics = kSectionInitializedData | kSectionRead;
    std::vector<uint8_t> header(section_header::kSize, 0);
    std::memcpy(&header[section_header::kName], section.name.data(), section_header::kNameSize);
    StoreU32(&header[section_header::kVirtualSize], section.virtualSize);
    StoreU32(&header[section_header::kVirtualAddress], section.virtualAddress);
    StoreU32(&header[section_header::kSizeOfRawData], section.rawSize);
    StoreU32(&header[section_header::kPointerToRawData], section.rawPointer);
    StoreU32(&header[section_header::kCharacteristics], section.characteristics);
    plan_.patches[slot] = std::move(header);
    sections_.push_back(section);
    PatchU16(image_.NumberOfSectionsOffset(), static_cast<uint16_t>(sections_.size()));
    if (index_ >= 0 && Resource().Name() == ".rsrc") {
      // Tools that look resources up by section name must not find the
      // abandoned copy.
      plan_.patches[image_.SectionHeaderOffset(static_cast<size_t>(index_))] = {'o', 'l', 'd', '.',
                                                                                'r', 's', 'r', 'c'};
    }
    PatchDirectory(kResourceDirectory, plan_.treeRva, static_cast<uint32_t>(treeSize_));
    initializedDelta_ = static_cast<int64_t>(treeRaw_);
    return {};
  }

  // The input range [begin, end) without the certificate table.
  void AddInput(uint64_t begin, uint64_t end) {
    if (plan_.signatureRemoved && certificate_.begin < end && certificate_.end > begin) {
      if (certificate_.begin > begin) {
        plan_.pieces.push_back({OutputPiece::Kind::kInput, begin, certificate_.begin - begin});
      }
      begin = std::min(end, certificate_.end);
    }
    if (end > begin) {
      plan_.pieces.push_back({OutputPiece::Kind::kInput, begin, end - begin});
    }
  }

  void PatchCommonFields() {
    const int64_t image_growth =
        static_cast<int64_t>(ImageEnd(sections_, image_.sectionAlignment)) -
        static_cast<int64_t>(ImageEnd(image_.sections, image_.sectionAlignment));
    PatchU32(image_.SizeOfImageOffset(), Clamp32(int64_t{image_.sizeOfImage} + image_growth));
    PatchU32(image_.SizeOfInitializedDataOffset(),
             Clamp32(int64_t{image_.sizeOfInitializedData} + initializedDelta_));
    if (image_.checksum != 0) {
      plan_.recomputeChecksum = true;
      plan_.checksumOffset = image_.CheckSumOffset();
      PatchU32(image_.CheckSumOffset(), 0);
    }
    // Section file pointers of moved sections follow their data.
    for (size_t i = 0; i < image_.sections.size(); ++i) {
      const SectionHeader& section = image_.sections[i];
      if (static_cast<int>(i) == index_ || section.rawPointer == 0 || section.rawSize == 0) {
        continue;
      }
      if (auto moved = OutputOffset(plan_, section.rawPointer, image_.fileSize);
          moved && *moved != section.rawPointer) {
        PatchU32(image_.SectionHeaderOffset(i) + section_header::kPointerToRawData,
                 static_cast<uint32_t>(*moved));
      }
    }
  }

  static uint32_t Clamp32(int64_t value) {
    return static_cast<uint32_t>(std::clamp<int64_t>(value, 0, int64_t{0xFFFFFFFF}));
  }
  void PatchU16(uint64_t offset, uint16_t value) {
    std::vector<uint8_t> bytes(2);
    StoreU16(bytes.data(), value);
    plan_.patches[offset] = std::move(bytes);
  }
  void PatchU32(uint64_t offset, uint32_t value) { PatchPlanU32(plan_, offset, value); }
  void PatchDirectory(size_t index, uint32_t rva, uint32_t size) {
    PatchU32(image_.DirectoryOffset(index) + data_directory::kAddress, rva);
    PatchU32(image_.DirectoryOffset(index) + data_directory::kDataSize, size);
  }

  ByteSource& input_;
  const PeImage& image_;
  const int index_;
  const uint64_t treeSize_;
  const uint64_t treeRaw_;
  std::vector<SectionHeader> sections_;  // as they will be
  ImagePlan plan_;
  Range certificate_;
  int64_t vaDelta_ = 0;
  uint64_t movedVaBegin_ = 0;
  int64_t initializedDelta_ = 0;
};

}  // namespace

const char* PlacementName(Placement placement) {
  switch (placement) {
    case Placement::kResizedInPlace:
      return "resized in place";
    case Placement::kFollowingMoved:
      return "following sections moved";
    case Placement::kRewrittenInSection:
      return "rewritten in its section";
    case Placement::kNewSection:
      return "new section";
  }
  return "?";
}

Result<ImagePlan> PlanImage(ByteSource& input, const PeImage& image, int resource_section,
                            uint64_t tree_size) {
  return Planner(input, image, resource_section, tree_size).Plan();
}

}  // namespace vexmar::resources
