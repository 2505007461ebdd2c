#pragma once

class TFileScan;
class TOneResult;
struct TFoundLine;
struct TSearchChoices;
struct TDocumentInfo;
