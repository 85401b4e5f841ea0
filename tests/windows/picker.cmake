# stock picker tests
