// data module
