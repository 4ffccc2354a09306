// shared window services
